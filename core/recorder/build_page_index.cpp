#include "recorder/build_page_index.h"

#include "base/texts.h"
#include "record/page_index.h"
#include "recorder/page_loader.h"
#include "recorder/recorder_data.h"

namespace tessaly::recorder {
namespace {

void ShowRefusals(const CRecorderData& data, const std::vector<record::RefusedFile>& refused) {
  const bool opened = data.recordSet.IsOpen();
  if (refused.empty() && opened) return;
  std::string text = base::Text(opened ? base::TextId::SetFilesRefused : base::TextId::FileOpenFailed, data.language);
  // One file needs no naming: the user has just chosen it.
  if (data.recordPaths.size() > 1)
    for (const record::RefusedFile& file : refused) text += "\n" + record::RefusalText(file, data.language);
  data.ShowError(text);
}

}  // namespace

bool BuildPageIndex(CRecorderData& data) {
  if (RefuseWhileLoading(data)) return false;
  data.pages.clear();
  data.recordSet.Close();
  ShowRefusals(data, data.recordSet.Open(data.recordPaths, data.language, data.Display()));
  if (!data.recordSet.IsOpen()) return false;
  data.SetRecordedChannels(data.recordSet.ChannelCount());

  if (data.autoPaging == 1) {
    data.pageMode = 0;
    data.sectorsPerPage = record::kAutoSectorsPerPage;
  }
  data.pages = record::FormPages(data.recordSet.HeaderSectors(), data.recordSet.DataSectors(), data.pageMode,
                                 data.sectorsPerPage, data.pageCount);
  record::LabelPages(data.recordSet, data.pages);
  return true;
}

}  // namespace tessaly::recorder
