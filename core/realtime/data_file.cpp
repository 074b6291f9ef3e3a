#include "realtime/data_file.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "base/atomic_file.h"
#include "base/format.h"
#include "base/fs_path.h"
#include "base/local_time.h"
#include "base/regular_file.h"
#include "base/system_folders.h"
#include "base/texts.h"

namespace tessaly::realtime {

using base::Text;
using base::TextId;

record::RecordTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || !base::LocalCalendar(now, local))
    return {record::RecordTimeStatus::Invalid, 0};
  return record::RecordTime::FromCalendar(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                          local.tm_min, local.tm_sec);
}

RealtimeRecord StampedRecord(const record::RecordTime& time) {
  RealtimeRecord r{};
  if (time.IsValid())
    r.time = time.ToOleDate();
  else
    r.timeStatus = 1;
  return r;
}

record::CalendarFields RecordFields(const RealtimeRecord& record) {
  if (record.timeStatus != 0) return record::RecordTime{record::RecordTimeStatus::Invalid, 0}.Fields();
  return record::RecordTime::FromOleDate(record.time).Fields();
}

std::string PointLabel(const record::CalendarFields& f) {
  return base::FormatText(Text(TextId::PointLabel, base::kChinese), f.year, f.month, f.day, f.hour, f.minute, f.second);
}

bool HasDataExtension(const std::string& path) {
  const std::string extension = Text(TextId::DataFileExtension, base::kChinese);
  return path.size() >= extension.size() &&
         path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

std::string DefaultReceiveFolder() {
  std::string folder = base::HomeFolder();
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string UnusedDataPath(const std::string& path) {
  const auto taken = [](const std::string& p) {
    std::error_code error;
    // A dangling link or anything unreadable counts as taken.
    return std::filesystem::symlink_status(base::FsPath(p), error).type() != std::filesystem::file_type::not_found;
  };
  if (!taken(path)) return path;
  const size_t stemLength = HasDataExtension(path) ? path.size() - 3 : path.size();
  const std::string stem = path.substr(0, stemLength), extension = path.substr(stemLength);
  for (int n = 1;; ++n) {
    const std::string candidate = stem + "_" + std::to_string(n) + extension;
    if (!taken(candidate)) return candidate;
  }
}

bool DataFolderWritable(const std::string& savePath) {
  const std::filesystem::path folder = base::FsPath(savePath).parent_path();
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  base::AtomicFile probe;  // discarded, never committed
  return probe.Open(savePath) && probe.Write("\0", 1) && std::fflush(probe.Stream()) == 0;
}

namespace {

// Receive folder + device folder (created when missing) + unused time name.
std::string DevicePath(std::string folder, TextId deviceFolder, int deviceAddress, int language,
                       const record::CalendarFields& now) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  folder += base::FormatText(Text(deviceFolder, language), deviceAddress);
  std::error_code ignored;
  std::filesystem::create_directories(base::FsPath(folder), ignored);
  return UnusedDataPath(folder + base::FormatText(Text(TextId::DataFileName, language), now.year, now.month, now.day,
                                                  now.hour, now.minute, now.second));
}

}  // namespace

std::string StartSavePath(const std::string& receiveFolder, int deviceAddress, const record::CalendarFields& now) {
  return DevicePath(receiveFolder, TextId::StartDeviceFolder, deviceAddress, base::kChinese, now);
}

std::string RotationSavePath(const std::string& receiveFolder, int deviceAddress, int language,
                             const record::CalendarFields& now) {
  return DevicePath(receiveFolder, TextId::RotationDeviceFolder, deviceAddress, language, now);
}

std::optional<std::vector<RealtimeRecord>> ReadDataFile(const std::string& path, bool readWrite) {
  uint64_t size = 0;
  const int fd = base::OpenRegularFile(path, readWrite ? base::FileAccess::kReadWrite : base::FileAccess::kRead, size);
  if (fd < 0) return std::nullopt;
  // The records the file held when it was opened; bytes it gains meanwhile
  // belong to a later read, and a file that shrinks gives what is left.
  std::vector<RealtimeRecord> records(static_cast<size_t>(size / kRecordSize));
  const size_t wanted = records.size() * kRecordSize;
  const size_t done = base::ReadFully(fd, records.data(), wanted);
  base::CloseFile(fd);
  records.resize(done / kRecordSize);
  return records;
}

}  // namespace tessaly::realtime
