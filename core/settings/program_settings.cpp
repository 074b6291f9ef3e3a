#include "settings/program_settings.h"

#include <algorithm>

namespace tessaly::settings {

ProgramSettings::ProgramSettings() : DisplaySettings{} {}

int32_t ProgramSettings::UserShown(int channel) const {
  return channel < recordedChannels ? channels[channel].shown : unrecordedShown_[channel];
}

void ProgramSettings::SetUserShown(int channel, int32_t shown) {
  unrecordedShown_[channel] = shown;
  channels[channel].shown = channel < recordedChannels ? shown : 0;
}

void ProgramSettings::SetRecordedChannels(int count) {
  int32_t user[kChannels];
  for (int k = 0; k < kChannels; ++k) user[k] = UserShown(k);
  recordedChannels = std::clamp(count, 0, kChannels);
  for (int k = 0; k < kChannels; ++k) SetUserShown(k, user[k]);
}

void ProgramSettings::ShowMessage(const std::string& utf8Text) const {
  if (messages) messages->ShowMessage(utf8Text);
}

void ProgramSettings::ShowError(const std::string& utf8Text) const {
  if (messages) messages->ShowError(utf8Text);
}

}  // namespace tessaly::settings
