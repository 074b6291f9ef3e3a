#include "realtime/data_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "base/format.h"
#include "base/home_folder.h"
#include "base/texts.h"

namespace tessaly::realtime {

using base::Text;
using base::TextId;

record::RecordTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || !::localtime_r(&now, &local))
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
  return base::FormatText(Text(TextId::PointLabel, base::kChinese), f.year, f.month, f.day, f.hour, f.minute,
                          f.second);
}

bool HasDataExtension(const std::string& path) {
  const std::string extension = Text(TextId::DataFileExtension, base::kChinese);
  return path.size() >= extension.size() && path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

std::string DefaultReceiveFolder() {
  std::string folder = base::HomeFolder();
  if (folder.back() != '/') folder += '/';
  return folder;
}

namespace {

// Receive folder + device folder (created when missing) + time name.
std::string DevicePath(std::string folder, TextId deviceFolder, int deviceAddress, int language,
                       const record::CalendarFields& now) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  folder += base::FormatText(Text(deviceFolder, language), deviceAddress);
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder + base::FormatText(Text(TextId::DataFileName, language), now.year, now.month, now.day, now.hour,
                                   now.minute, now.second);
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
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), readWrite ? "r+b" : "rb"),
                                                       &std::fclose);
  if (!file) return std::nullopt;
  std::vector<RealtimeRecord> records;
  RealtimeRecord record;
  while (std::fread(&record, kRecordSize, 1, file.get()) == 1) records.push_back(record);
  return records;
}

}  // namespace tessaly::realtime
