#pragma once
// The one application-wide object: persisted settings and the record viewer's
// run-time state. Every part reads and writes its fields directly.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "record/page_entry.h"
#include "record/record_file.h"
#include "record/sample.h"
#include "settings/channel_info.h"

namespace tessaly::settings {

// The display-settings block comes first, so it can be copied as a unit:
// `static_cast<DisplaySettings&>(data) = copy`.
struct CRecorderData : DisplaySettings {
  CRecorderData();
  CRecorderData(const CRecorderData&) = delete;
  CRecorderData& operator=(const CRecorderData&) = delete;

  DisplaySettings& Display() { return *this; }
  const DisplaySettings& Display() const { return *this; }

  // Record-reading (paging) parameters, persisted.
  int32_t pageMode = 0;  // 0 fixed sectors per page, 1 fixed page count
  uint32_t sectorsPerPage = 0;
  uint32_t pageCount = 0;
  int32_t autoPaging = 0;  // 1: every open pages by 1024 sectors

  // Real-time serial settings, persisted.
  int32_t comPort = 0;        // 1-based
  int32_t baudIndex = 0;      // 2400, 4800, 9600, 19200, 38400
  int32_t parityIndex = 0;    // none, odd, even
  int32_t deviceAddress = 0;  // 0 to 99
  int32_t pollIntervalMs = 0;

  int32_t autoRange = 0;  // 1: Y range set automatically, persisted

  // Run-time state, never persisted.
  std::string recordPath;  // UTF-8 path of the record file chosen last
  record::RecordFile recordFile;
  uint32_t headerSectors = 0;
  uint32_t dataSectors = 0;
  std::vector<record::PageEntry> pages;
  std::vector<record::PageEntry> searched;
  // Item data of the next searched tree item; shared by all viewers.
  int32_t nextSearchedItemData = record::SearchedItemBase;
  record::SampleBuffer samples;
  uint32_t partFirst = 0;
  uint32_t partEnd = 0;
  uint32_t loadTotal = 0;
  bool loadCut = false;  // the last load stopped at the SampleBuffer's limit
  int32_t bandTool = -1;
  int32_t cursorTool = -1;
  int32_t childKind = 0;            // kind of child opened last: 0 viewer, 1 real-time page
  std::atomic<uint8_t> running{0};  // 1 while a page load may go on
  std::atomic<uint8_t> idle{1};     // 1 when no load or part-graph redraw runs
  uint32_t loadFirst = 0;
  uint32_t loadCount = 0;

  int32_t language = 0;  // persisted: 0 Chinese, 1 English

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
