#include "settings/channel_info.h"

#include "base/gbk.h"

namespace tessaly::settings {
namespace {

std::string FieldUtf8(const char* field) { return base::GbkToUtf8(base::FieldText(field, kTextFieldSize)); }

bool SetField(char* field, std::string_view utf8) {
  const std::string gbk = base::Utf8ToGbk(utf8);
  if (gbk.size() > kTextFieldSize - 1) return false;
  base::SetFieldText(field, kTextFieldSize, gbk);
  return true;
}

}  // namespace

std::string ChannelName(const ChannelInfo& channel) { return FieldUtf8(channel.name); }
std::string ChannelUnit(const ChannelInfo& channel) { return FieldUtf8(channel.unit); }
std::string DeviceName(const DisplaySettings& display) { return FieldUtf8(display.deviceName); }

bool SetChannelName(ChannelInfo& channel, std::string_view utf8) { return SetField(channel.name, utf8); }
bool SetChannelUnit(ChannelInfo& channel, std::string_view utf8) { return SetField(channel.unit, utf8); }
bool SetDeviceName(DisplaySettings& display, std::string_view utf8) { return SetField(display.deviceName, utf8); }

size_t GbkLength(std::string_view utf8) { return base::Utf8ToGbk(utf8).size(); }

}  // namespace tessaly::settings
