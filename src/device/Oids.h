#pragma once
// The object identifiers the program sends to the adapter's miniport driver, with the byte
// count of the record each one carries.

#include <cstdint>

namespace linkscope {

// Configuration (0xFF00xxxx).
constexpr std::uint32_t OID_PRIV_CONFIGURATION = 0xFF000002;
constexpr std::uint32_t OID_PRIV_DEVICE_STATE = 0xFF000003;
constexpr std::uint32_t OID_PRIV_WEP = 0xFF000009;
constexpr std::uint32_t OID_PRIV_RESET = 0xFF00000B;
constexpr std::uint32_t OID_PRIV_INTL_ROAMING = 0xFF000015;
constexpr std::uint32_t OID_PRIV_ROAMING_CHANNELS = 0xFF000016;
constexpr std::uint32_t OID_PRIV_RADIO = 0xFF000017;
constexpr std::uint32_t OID_PRIV_WINDOWS_CONFIG = 0xFF000018;
constexpr std::uint32_t OID_PRIV_ALL_SETTINGS = 0xFF000021;

// Information and commands (0xFF01xxxx).
constexpr std::uint32_t OID_PRIV_CARD_TYPE = 0xFF010001;
constexpr std::uint32_t OID_PRIV_SURVEY_START = 0xFF010004;
constexpr std::uint32_t OID_PRIV_SURVEY_LIST = 0xFF010005;
constexpr std::uint32_t OID_PRIV_SURVEY_STATE = 0xFF010006;
constexpr std::uint32_t OID_PRIV_SURVEY_CANCEL = 0xFF010008;
constexpr std::uint32_t OID_PRIV_VERSION = 0xFF01000A;
constexpr std::uint32_t OID_PRIV_STATISTICS = 0xFF01000C;
constexpr std::uint32_t OID_PRIV_STATISTICS_RESET = 0xFF01000D;
constexpr std::uint32_t OID_PRIV_REG_DOMAIN = 0xFF01000E;

// Command with a value (0xFF02xxxx).
constexpr std::uint32_t OID_PRIV_SELECT_BSS = 0xFF020007;

// Standard NDIS.
constexpr std::uint32_t OID_GEN_MEDIA_CONNECT_STATUS = 0x00010114;
constexpr std::uint32_t OID_802_3_CURRENT_ADDRESS = 0x01010102;

// Record sizes in bytes.
constexpr std::uint32_t kDeviceStateSize = 1;
constexpr std::uint32_t kWepConfigSize = 57;
constexpr std::uint32_t kRoamingChannelsSize = 14;
constexpr std::uint32_t kOneByteSize = 1;
constexpr std::uint32_t kSurveyListSize = 1380;
constexpr std::uint32_t kSelectBssSize = 4;
constexpr std::uint32_t kMediaConnectStatusSize = 4;
constexpr std::uint32_t kMacAddressSize = 6;

// OID_GEN_MEDIA_CONNECT_STATUS values.
constexpr std::uint32_t kMediaConnected = 0;
constexpr std::uint32_t kMediaDisconnected = 1;

}  // namespace linkscope
