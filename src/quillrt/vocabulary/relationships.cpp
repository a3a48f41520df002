#include "quillrt/vocabulary/relationships.h"

#include "quillrt/catalogue/message_catalogue.h"

namespace quill {
namespace {

bool Passes(const TBoolAndSingleSettings& setting, float value) { return value >= setting.threshold; }

bool AllEnabledPass(const TBoolAndSingleSettingsArray& settings, const TRelationshipArray& values) {
  bool any_enabled = false;
  for (int i = 0; i < kMutualInfoStatsCount; ++i) {
    if (!settings[i].do_it) continue;
    if (!Passes(settings[i], values[i])) return false;
    any_enabled = true;
  }
  return any_enabled;
}

bool FirstEnabledPasses(const TBoolAndSingleSettingsArray& settings, const TRelationshipArray& values,
                        bool try_the_next) {
  for (int i = 0; i < kMutualInfoStatsCount; ++i) {
    if (!settings[i].do_it) continue;
    if (Passes(settings[i], values[i])) return true;
    if (!try_the_next) return false;
  }
  return false;
}

}  // namespace

UnicodeString MutualInfoChoices(TMutualInfoStats stat) {
  switch (stat) {
    case MI_Dice: return CatalogueText("_QYDiceCoefficient");
    case MI_MI: return CatalogueText("_QYSpecificMutualInfo");
    case MI_MI3: return u"MI3";  // a formula's name, the same in every language
    case MI_Z: return CatalogueText("_QYZScore");
    case MI_log_likelihood: return CatalogueText("_QYLogLikelihood");
    case MI_T_Score: return CatalogueText("_QYTScore");
    case MI_Log_Ratio: return CatalogueText("_QYLogRatio");
  }
  return {};
}

bool PassesRelationshipThresholdTests(const TConcgramMutualChecks& checks, const TRelationshipArray& values) {
  if (checks.test_all_procedures) return AllEnabledPass(checks.proc_settings, values);
  return FirstEnabledPasses(checks.proc_settings, values, checks.test_all_words);
}

}  // namespace quill
