#pragma once
// The private copy of the display settings that the display-parameters
// dialog edits, and the rules by which its fields take over what the edits
// hold. Nothing reaches the settings before Commit.
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/channel_info.h"

namespace tessaly::settings {

struct ProgramSettings;

class DisplayParamsEdit {
 public:
  explicit DisplayParamsEdit(const ProgramSettings& data);

  DisplaySettings settings;  // the 1144-byte block
  int32_t autoRange;         // lies outside the block
  int channel = 0;           // index of the channel on show, 0 to 17

  ChannelInfo& Current() { return settings.channels[channel]; }
  const ChannelInfo& Current() const { return settings.channels[channel]; }

  // Channel navigation; false at the first or last channel (nothing moves).
  bool Previous();
  bool Next();

  // Copies the block and autoRange back over the data.
  void Commit(ProgramSettings& data) const;

  // How a float is shown in its edit ("%.2f"), and what the edit's text
  // stores: its leading decimal number, 0 when there is none, kept within
  // the float range.
  static std::string FloatText(float value);
  static float TakeFloat(std::string_view text);

  // An interval takes the text's integer value only when it is greater than
  // 0 (and fits); otherwise the field keeps its value.
  static void TakeInterval(int32_t& field, std::string_view text);
};

}  // namespace tessaly::settings
