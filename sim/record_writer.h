#pragma once
// Builds record files the way the recorder writes them: an optional header
// block, then 512-byte data sectors with valid CRCs, and faults on request.
// Used by tessaly-sim and, in memory, by the tests.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tessaly::sim {

enum class SectorFault {
  None,
  BadCrc,        // CRC field wrong
  NotCalendar,   // hour 30: decodable, not a calendar time
  MonthZero,     // month 0: decodable, samples get an invalid time
  YearTooLarge,  // year byte 150: calendar-valid, not decodable
  Overlap,       // stamped one second earlier than it follows on
};

enum class HeaderFault {
  None,
  FirstCrc,  // the CRC of bytes 0 to 15 is wrong (the block CRC matches what is stored)
  BlockCrc,  // the CRC of bytes 0 to 15 is right, the block CRC is wrong
};

// A fault on data sectors first to last (indices from 0, inclusive).
struct FaultRange {
  uint32_t first = 0;
  uint32_t last = 0;
  SectorFault fault = SectorFault::None;
};

// A value put in place of the waveform's, e.g. the marker values.
struct ValueOverride {
  uint32_t sector = 0;  // data-sector index
  int sample = 0;       // within the sector
  int channel = -1;     // 0-based; -1 for every channel of the sector
  float value = 0.0f;
};

struct RecordSpec {
  bool header = true;
  int headerSectors = 2;  // b; the names need b >= 2
  HeaderFault headerFault = HeaderFault::None;
  std::string deviceName = "Tessaly-R18";  // UTF-8, stored GBK
  std::array<std::string, 18> names{};     // UTF-8; empty stays empty
  std::array<std::string, 18> units{};
  int channels = 4;                // C, byte 9
  int samplesPerSector = 6;        // N, byte 10
  uint16_t interval = 10;          // units of 100 ms
  std::array<int, 18> decimals{};  // per channel, 0..15
  // Start of sector 0: year, month, day, hour, minute, second.
  int year = 2015, month = 1, day = 5, hour = 8, minute = 0, second = 0;
  uint32_t sectorCount = 100;
  // Value of channel c for the global sample index n (sector * N + s).
  std::function<float(int channel, uint64_t sample)> waveform;
  // Faults by data-sector index; the first range that holds a sector counts.
  std::vector<FaultRange> faults;
  std::vector<ValueOverride> overrides;
};

// The default waveform: a slow sine per channel with its own phase and level.
float DemoWave(int channel, uint64_t sample);

// Header block of `recordSpec.headerSectors` sectors with both CRCs set.
std::vector<unsigned char> BuildHeader(const RecordSpec& recordSpec);

// Data sector `index` of the file described by `recordSpec`.
void BuildSector(const RecordSpec& recordSpec, uint32_t index, unsigned char* out512);

// Sets the CRC field of a data sector (for tests that edit sector bytes).
void SealSector(unsigned char* sector512);

// The whole file in memory (small fixtures).
std::vector<unsigned char> BuildRecordFile(const RecordSpec& recordSpec);

// Streams the file to `path` (written under a temporary name, then renamed).
bool WriteRecordFile(const std::string& path, const RecordSpec& recordSpec);

// Streams the header and data sectors [first, first + count) of the recording
// `recordSpec` describes: one of the consecutive files it is copied off as.
bool WriteRecordPart(const std::string& path, const RecordSpec& recordSpec, uint32_t first, uint32_t count);

// The names of `parts` consecutive files after `path`, which must end in
// ".Dnn": the number counts up from nn (NAME.D01, NAME.D02, ...). None when
// the name has no such ending or the count passes 99.
std::vector<std::string> ConsecutiveRecordNames(const std::string& path, uint32_t parts);

}  // namespace tessaly::sim
