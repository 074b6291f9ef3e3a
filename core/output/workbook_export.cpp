#include "output/workbook_export.h"

#include <algorithm>

#include "base/number_format.h"
#include "base/texts.h"
#include "output/time_text.h"
#include "output/workbook.h"

namespace tessaly::output {

ExportResult WriteViewerWorkbookFile(const std::string& path, const record::SampleBuffer& samples,
                                     const settings::DisplaySettings& display, uint32_t interval, int language,
                                     const ExportProgress& progress) {
  if (samples.empty()) return ExportResult::NothingToWrite;
  WorkbookFile book;
  if (!book.Open(path)) return ExportResult::OpenFailed;

  const size_t k = std::max<uint32_t>(interval, 1);
  const auto rows = static_cast<uint32_t>(samples.size() / k);
  book.Put(0, 0, base::Text(base::TextId::ExportIndexHeading, language));
  book.Put(0, 1, base::Text(base::TextId::ExportTimeHeading, language));
  for (int j = 0; j < settings::kChannels; ++j)
    if (display.channels[j].shown == 1)
      book.Put(0, static_cast<uint16_t>(j + 2), settings::ChannelName(display.channels[j]).c_str());

  char cell[std::max(base::kFixedRoom, kTimeTextRoom) + 1];
  TimeTextWriter time;
  record::SampleBuffer::Walker walker(samples);
  for (uint32_t i = 0; i < rows && book.Ok(); ++i) {
    const record::Sample& sample = walker.At(i * k);
    book.Put(i + 1, 0, cell, base::WriteInt(cell, static_cast<int64_t>(i * k)));
    book.Put(i + 1, 1, cell, time.Write(cell, sample.time));
    for (int j = 0; j < settings::kChannels; ++j)
      if (display.channels[j].shown == 1)
        book.Put(i + 1, static_cast<uint16_t>(j + 2), cell,
                 base::WriteFixed(cell, sample.values[j], sample.decimals[j]));
    ReportRowProgress(progress, i, rows);
  }
  if (!book.Commit()) return ExportResult::WriteFailed;
  return ExportResult::Written;
}

}  // namespace tessaly::output
