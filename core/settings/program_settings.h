#pragma once
// What the program keeps between runs (the settings file's contents) and
// where its messages go.
#include <cstdint>
#include <string>

#include "base/message_sink.h"
#include "settings/channel_info.h"

namespace tessaly::settings {

// The display-settings block comes first, so it can be copied as a unit:
// `static_cast<DisplaySettings&>(data) = copy`.
struct ProgramSettings : DisplaySettings {
  ProgramSettings();
  ProgramSettings(const ProgramSettings&) = delete;
  ProgramSettings& operator=(const ProgramSettings&) = delete;

  DisplaySettings& Display() { return *this; }
  const DisplaySettings& Display() const { return *this; }

  // Record-reading (paging) parameters.
  int32_t pageMode = 0;  // 0 fixed sectors per page, 1 fixed page count
  uint32_t sectorsPerPage = 0;
  uint32_t pageCount = 0;
  int32_t autoPaging = 0;  // 1: every open pages by 1024 sectors

  // Real-time serial settings.
  int32_t comPort = 0;        // 1-based
  int32_t baudIndex = 0;      // 2400, 4800, 9600, 19200, 38400
  int32_t parityIndex = 0;    // none, odd, even
  int32_t deviceAddress = 0;  // 0 to 99
  int32_t pollIntervalMs = 0;

  int32_t autoRange = 0;  // 1: Y range set automatically
  int32_t language = 0;   // 0 Chinese, 1 English

  // `channels[k].shown` is what graphs, list, exports and prints obey: the
  // user's own choice for the channels the open record file records, 0 for
  // the others. The user's choice for those others is kept aside, so that a
  // file that does not record a channel never overwrites it.
  int recordedChannels = kChannels;
  int32_t UserShown(int channel) const;
  void SetUserShown(int channel, int32_t shown);
  // A record file recording channels 0 to count - 1 has been opened.
  void SetRecordedChannels(int count);

  // Where messages go (message boxes in the program); null shows nothing.
  base::MessageSink* messages = nullptr;

  void ShowMessage(const std::string& utf8Text) const;
  void ShowError(const std::string& utf8Text) const;

 private:
  int32_t unrecordedShown_[kChannels] = {};  // the user's choice where the file records nothing
};

}  // namespace tessaly::settings
