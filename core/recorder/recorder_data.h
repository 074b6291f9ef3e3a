#pragma once
// The one application-wide object: the program's settings and the record
// viewer's run-time state. Every part reads and writes its fields directly.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "record/page_entry.h"
#include "record/record_set.h"
#include "record/sample.h"
#include "settings/program_settings.h"

namespace tessaly::recorder {

struct CRecorderData : settings::ProgramSettings {
  // Run-time state, never persisted.
  std::vector<std::string> recordPaths;  // UTF-8 paths of the record files chosen last
  record::RecordSet recordSet;           // open from a successful BuildPageIndex until the next open or close
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
};

}  // namespace tessaly::recorder
