#pragma once
// The persisted display settings, laid out exactly as they are stored: the
// 60-byte channel record and the 1144-byte block that the display-parameters
// dialog edits and copies as a unit. Texts inside are GBK, as in the file;
// use the accessors for UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly::settings {

constexpr int kChannels = 18;
constexpr int kTextFieldSize = 17;  // 16 bytes and a terminating zero

struct ChannelInfo {
  uint32_t color;     // 0x00BBGGRR
  int32_t lineWidth;  // 1 to 4
  int32_t shown;      // 1 = shown in graphs, list, export and print
  int32_t unitIndex;  // into the unit table
  char name[kTextFieldSize];
  char unit[kTextFieldSize];
  char padding[2];
  float rangeLow;
  float rangeHigh;
};
static_assert(sizeof(ChannelInfo) == 60);

struct DisplaySettings {
  int32_t yAxisMode;  // 0 percentage, 1 numerical value
  float yRangeMin;
  float yRangeMax;
  int32_t showGrid;
  uint32_t gridColor;  // 0x00BBGGRR
  uint32_t backColor;  // 0x00BBGGRR
  ChannelInfo channels[kChannels];
  int32_t allGraphInterval;
  int32_t partGraphInterval;
  int32_t listInterval;
  int32_t autoInterval;
  int32_t showCursor;
  char deviceName[kTextFieldSize];
  char padding[3];
};
static_assert(sizeof(DisplaySettings) == 1144);

// UTF-8 views of the GBK fields.
std::string ChannelName(const ChannelInfo& channel);
std::string ChannelUnit(const ChannelInfo& channel);
std::string DeviceName(const DisplaySettings& display);

// Store a UTF-8 text as GBK; false (field unchanged) when it would take more
// than 16 bytes.
bool SetChannelName(ChannelInfo& channel, std::string_view utf8);
bool SetChannelUnit(ChannelInfo& channel, std::string_view utf8);
bool SetDeviceName(DisplaySettings& display, std::string_view utf8);

// GBK byte length of a UTF-8 text: the measure of the 16-byte limit.
size_t GbkLength(std::string_view utf8);

}  // namespace tessaly::settings
