#pragma once
// The association statistics between two words (how strongly a collocate goes
// with its node) and the test of a pair's scores against the user's thresholds.
#include <array>
#include <cstdint>

#include "quillrt/collections/basic_types.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// Stored as one byte and used to index stored arrays: the order is fixed.
enum TMutualInfoStats : std::uint8_t {
  MI_Dice,
  MI_MI,
  MI_MI3,
  MI_Z,
  MI_log_likelihood,
  MI_T_Score,
  MI_Log_Ratio,
};
inline constexpr int kMutualInfoStatsCount = MI_Log_Ratio + 1;

// One score per statistic (single precision, as stored).
using TRelationshipArray = std::array<float, kMutualInfoStatsCount>;

// Whether a statistic is tested, and the lowest score that passes.
struct TBoolAndSingleSettings {
  bool do_it = false;
  float threshold = 0.0f;
};
using TBoolAndSingleSettingsArray = std::array<TBoolAndSingleSettings, kMutualInfoStatsCount>;

struct TConcgramMutualChecks {
  bool search_needed = false;
  // Every enabled statistic must pass (otherwise one passing is enough).
  bool test_all_procedures = false;
  // In the one-is-enough mode, a failing statistic does not end the test.
  bool test_all_words = false;
  TBoolAndSingleSettingsArray proc_settings{};
  eightywidechar search_string{};
};

// The display name of a statistic: "Dice coefficient", "Specific Mutual
// Information", "MI3", "Z Score", "Log likelihood", "T Score", "Log ratio";
// empty outside the enumeration.
QUILLRT_API UnicodeString MutualInfoChoices(TMutualInfoStats stat);

// Whether the scores `values` pass the thresholds of `checks`. A statistic is
// enabled when its do_it is set and passes when its score is at least its
// threshold (a NaN score never passes).
// - test_all_procedures: every enabled statistic must pass, and at least one
//   must be enabled.
// - otherwise: the first enabled statistic that passes gives true; an enabled
//   one that fails gives false at once, unless test_all_words lets the next
//   enabled one be tried.
// With no statistic enabled the answer is false in both modes.
QUILLRT_API bool PassesRelationshipThresholdTests(const TConcgramMutualChecks& checks,
                                                  const TRelationshipArray& values);

}  // namespace quill
