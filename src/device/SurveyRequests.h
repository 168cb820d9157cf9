#pragma once
// The requests of the Encryption, Statistics and Site Survey pages, each with the rule that
// decides whether the driver's answer counts.

#include <cstdint>

#include "device/CAdapterLink.h"
#include "device/StatisticsRecord.h"
#include "device/SurveyRecords.h"
#include "device/WepConfig.h"

namespace linkscope {

// Exactly 57 bytes, or the read failed.
bool QueryWepConfig(CAdapterLink& link, const AdapterEntry* adapter, WepConfig* wep);
bool SetWepConfig(CAdapterLink& link, const AdapterEntry* adapter, const WepConfig& wep);

// Exactly 48 bytes, or the read failed.
bool QueryStatistics(CAdapterLink& link, const AdapterEntry* adapter, StatisticsRecord* record);
bool ResetStatistics(CAdapterLink& link, const AdapterEntry* adapter);

// Before a survey the state must come as exactly one byte; while one is followed, any
// successful answer counts.
enum class SurveyStateRead { BeforeSurvey, WhileFollowing };
bool QuerySurveyState(CAdapterLink& link, const AdapterEntry* adapter, SurveyStateRead when,
                      std::uint8_t* state);
bool StartSurvey(CAdapterLink& link, const AdapterEntry* adapter);
bool CancelSurvey(CAdapterLink& link, const AdapterEntry* adapter);

// The list as the driver fills it: whole entries of the byte count it reports; more than the
// 1380-byte buffer is a failed read.
bool QueryBssList(CAdapterLink& link, const AdapterEntry* adapter, BssList* list);
// Joins the entry at `index` of the list as last read.
bool SelectBss(CAdapterLink& link, const AdapterEntry* adapter, std::uint32_t index);

}  // namespace linkscope
