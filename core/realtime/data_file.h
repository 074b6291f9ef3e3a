#pragma once
// .DT data files: their names, the time texts of their records, and reading
// them back. A file is back-to-back 84-byte records; a remainder is ignored.
#include <optional>
#include <string>
#include <vector>

#include "realtime/realtime_record.h"
#include "record/record_time.h"

namespace tessaly::realtime {

// The current local time in whole seconds; Invalid when it cannot be had.
record::RecordTime LocalNow();

// A record stamped with `time` (status 1 and time 0 when it is not valid).
RealtimeRecord StampedRecord(const record::RecordTime& time);

// The record's date and time, all -1 when its status is not 0 or its time
// does not convert.
record::CalendarFields RecordFields(const RealtimeRecord& record);

// The chart's point label "YYYY-MM-DD hh:mm:ss" (fields -1 when invalid).
std::string PointLabel(const record::CalendarFields& fields);

// True when the last three characters are exactly ".DT" (case matters).
bool HasDataExtension(const std::string& path);

// The user's home folder with a trailing "/" (the default receive folder).
std::string DefaultReceiveFolder();

// `path` when nothing of that name exists; otherwise the first free name
// with "_1", "_2", ... put before its ".DT" (or at its end when it has none),
// so a new run never overwrites the file of another.
std::string UnusedDataPath(const std::string& path);

// Creates the folder of `savePath` when missing and writes (then removes) a
// probe file there: false when the folder cannot hold the run's files.
bool DataFolderWritable(const std::string& savePath);

// The save path Start sets: receive folder, "设备NNN/" (both languages) and
// the time name, made unused (UnusedDataPath); the device folder is created
// when missing (silently).
std::string StartSavePath(const std::string& receiveFolder, int deviceAddress, const record::CalendarFields& now);

// The path a rotation continues with: "设备NNN/" or "DeviceNNN/" by language,
// made unused; the device folder is created when missing.
std::string RotationSavePath(const std::string& receiveFolder, int deviceAddress, int language,
                             const record::CalendarFields& now);

// Every whole record of the file; nullopt when it cannot be opened (for
// reading, or for reading and writing when `readWrite`).
std::optional<std::vector<RealtimeRecord>> ReadDataFile(const std::string& path, bool readWrite = false);

}  // namespace tessaly::realtime
