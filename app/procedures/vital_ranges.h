// The starting points of the "lowest so far" vital-sign ranges of the discharge and sixty-day
// summaries. A new summary is primed with them, above any value a visit records, so that the
// first value recorded is lower. A range start still at its starting point holds nothing
// recorded: the forms and the printed summaries show it blank, and it stays stored as it is.
#pragma once

#include <cstdint>

namespace carelog::app::vital_ranges {

// The discharge summary's FROM row (element 1 of each range).
inline constexpr int32_t kDischargeBp = 9999999;
inline constexpr int32_t kDischargeTemperature = 1100;  // tenths of a degree
inline constexpr int32_t kDischargePulse = 150;
inline constexpr int32_t kDischargeResp = 100;
inline constexpr int32_t kDischargeWeight = 99999;

// The sixty-day summary's lowest values.
inline constexpr int32_t kSixtyDayPulse = 180;
inline constexpr int32_t kSixtyDayResp = 100;
inline constexpr int32_t kSixtyDayBp = 99999999;

}  // namespace carelog::app::vital_ranges
