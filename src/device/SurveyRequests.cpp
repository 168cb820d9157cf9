#include "device/SurveyRequests.h"

#include <array>

#include "device/ByteOrder.h"
#include "device/Oids.h"
#include "device/RecordQuery.h"

namespace linkscope {

bool QueryWepConfig(CAdapterLink& link, const AdapterEntry* adapter, WepConfig* wep) {
  std::array<std::uint8_t, WepConfig::kSize> raw{};
  if (!QueryExact(link, adapter, OID_PRIV_WEP, raw.data(), WepConfig::kSize)) return false;
  return WepConfig::Decode(raw.data(), raw.size(), wep);
}

bool SetWepConfig(CAdapterLink& link, const AdapterEntry* adapter, const WepConfig& wep) {
  const auto raw = wep.Encode();
  return link.Set(adapter, OID_PRIV_WEP, raw.data(), WepConfig::kSize);
}

bool QueryStatistics(CAdapterLink& link, const AdapterEntry* adapter, StatisticsRecord* record) {
  std::array<std::uint8_t, StatisticsRecord::kSize> raw{};
  if (!QueryExact(link, adapter, OID_PRIV_STATISTICS, raw.data(), StatisticsRecord::kSize)) {
    return false;
  }
  return StatisticsRecord::Decode(raw.data(), raw.size(), record);
}

bool ResetStatistics(CAdapterLink& link, const AdapterEntry* adapter) {
  return SendCommand(link, adapter, OID_PRIV_STATISTICS_RESET);
}

bool QuerySurveyState(CAdapterLink& link, const AdapterEntry* adapter, SurveyStateRead when,
                      std::uint8_t* state) {
  if (when == SurveyStateRead::BeforeSurvey) return QueryByte(link, adapter, OID_PRIV_SURVEY_STATE, state);
  std::uint8_t value = 0;
  std::uint32_t written = 0;
  if (!link.Query(adapter, OID_PRIV_SURVEY_STATE, &value, 1, &written)) return false;
  *state = value;
  return true;
}

bool StartSurvey(CAdapterLink& link, const AdapterEntry* adapter) {
  return SendCommand(link, adapter, OID_PRIV_SURVEY_START);
}

bool CancelSurvey(CAdapterLink& link, const AdapterEntry* adapter) {
  return SendCommand(link, adapter, OID_PRIV_SURVEY_CANCEL);
}

bool QueryBssList(CAdapterLink& link, const AdapterEntry* adapter, BssList* list) {
  std::array<std::uint8_t, BssList::kBufferSize> raw{};
  std::uint32_t written = 0;
  if (!link.Query(adapter, OID_PRIV_SURVEY_LIST, raw.data(), BssList::kBufferSize, &written)) {
    return false;
  }
  return BssList::Decode(raw.data(), raw.size(), written, list);
}

bool SelectBss(CAdapterLink& link, const AdapterEntry* adapter, std::uint32_t index) {
  std::array<std::uint8_t, kSelectBssRequestSize> raw{};
  WriteU32Le(raw.data(), index);
  return link.Set(adapter, OID_PRIV_SELECT_BSS, raw.data(), kSelectBssRequestSize);
}

}  // namespace linkscope
