#include "output/csv_export.h"

#include <algorithm>
#include <vector>

#include "base/atomic_file.h"
#include "base/gbk.h"
#include "base/number_format.h"
#include "base/texts.h"
#include "output/time_text.h"

namespace tessaly::output {
namespace {

constexpr size_t kBufferSize = 256 * 1024;
// The longest row: index and time, then 18 values with their commas.
constexpr size_t kRowRoom = base::kIntRoom + 1 + kTimeTextRoom + record::kChannelCount * (1 + base::kFixedRoom) + 2;

char* WriteRow(char* p, size_t index, const record::Sample& sample, TimeTextWriter& time) {
  p = base::WriteInt(p, static_cast<int64_t>(index));
  *p++ = ',';
  p = time.Write(p, sample.time);
  p = base::WriteFixedFields(p, sample.values, sample.decimals, record::kChannelCount);
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

// Formats the export into a buffer handed to `write` in large pieces, so the
// memory used stays the same whatever the number of rows.
template <typename Write>
bool WriteCsv(Write&& write, const record::SampleBuffer& samples, const settings::DisplaySettings& display,
              uint32_t interval, int language, const ExportProgress& progress) {
  const size_t k = std::max<uint32_t>(interval, 1);
  std::string heading = base::Utf8ToGbk(base::Text(base::TextId::CsvHeading, language));
  for (const settings::ChannelInfo& channel : display.channels) {
    heading += ',';
    heading += base::FieldText(channel.name, settings::kTextFieldSize);  // GBK as stored
  }
  heading += "\r\n";
  if (!write(heading.data(), heading.size())) return false;

  std::vector<char> buffer(kBufferSize);
  char* const begin = buffer.data();
  char* const full = begin + kBufferSize - kRowRoom;
  char* p = begin;
  TimeTextWriter time;
  record::SampleBuffer::Walker walker(samples);
  const auto rows = static_cast<uint32_t>(samples.size() / k);
  for (uint32_t row = 0; row < rows; ++row) {
    p = WriteRow(p, row * k, walker.At(row * k), time);
    if (p >= full) {
      if (!write(begin, static_cast<size_t>(p - begin))) return false;
      p = begin;
    }
    ReportRowProgress(progress, row, rows);
  }
  return write(begin, static_cast<size_t>(p - begin));
}

}  // namespace

bool WriteViewerCsv(std::FILE* out, const record::SampleBuffer& samples, const settings::DisplaySettings& display,
                    uint32_t interval, int language, const ExportProgress& progress) {
  if (samples.empty()) return true;
  const auto write = [out](const char* text, size_t size) { return std::fwrite(text, 1, size, out) == size; };
  return WriteCsv(write, samples, display, interval, language, progress) && std::fflush(out) == 0;
}

ExportResult WriteViewerCsvFile(const std::string& path, const record::SampleBuffer& samples,
                                const settings::DisplaySettings& display, uint32_t interval, int language,
                                const ExportProgress& progress) {
  if (samples.empty()) return ExportResult::NothingToWrite;
  base::AtomicFile file;
  if (!file.Open(path)) return ExportResult::OpenFailed;
  const auto write = [&file](const char* text, size_t size) { return file.Write(text, size); };
  if (!WriteCsv(write, samples, display, interval, language, progress) || !file.Commit())
    return ExportResult::WriteFailed;
  return ExportResult::Written;
}

}  // namespace tessaly::output
