#include "settings/display_params_edit.h"

#include <cfloat>
#include <cstdint>
#include <limits>

#include "base/format.h"
#include "base/number_text.h"
#include "settings/program_settings.h"

namespace tessaly::settings {

// The dialog edits the user's own shown choice, also for channels the open
// file does not record.
DisplayParamsEdit::DisplayParamsEdit(const ProgramSettings& data)
    : settings(data.Display()), autoRange(data.autoRange) {
  for (int k = 0; k < kChannels; ++k) settings.channels[k].shown = data.UserShown(k);
}

bool DisplayParamsEdit::Previous() {
  if (channel == 0) return false;
  --channel;
  return true;
}

bool DisplayParamsEdit::Next() {
  if (channel >= kChannels - 1) return false;
  ++channel;
  return true;
}

void DisplayParamsEdit::Commit(ProgramSettings& data) const {
  data.Display() = settings;
  for (int k = 0; k < kChannels; ++k) data.SetUserShown(k, settings.channels[k].shown);
  data.autoRange = autoRange;
}

std::string DisplayParamsEdit::FloatText(float value) { return base::Format("%.2f", static_cast<double>(value)); }

float DisplayParamsEdit::TakeFloat(std::string_view text) {
  const double value = base::LeadingDecimal(text);
  // A double beyond the float range has no float to convert to.
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

void DisplayParamsEdit::TakeInterval(int32_t& field, std::string_view text) {
  const int64_t value = base::LeadingInteger(text);
  if (value > 0 && value <= std::numeric_limits<int32_t>::max()) field = static_cast<int32_t>(value);
}

}  // namespace tessaly::settings
