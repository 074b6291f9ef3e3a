#include "record/record_header.h"

#include <cstring>
#include <vector>

#include "base/format.h"
#include "base/gbk.h"
#include "base/texts.h"
#include "record/record_crc.h"
#include "settings/recorder_data.h"

namespace tessaly::record {
namespace {

uint32_t GetU32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Header texts are raw GBK fields of 16 bytes; the settings keep GBK too.
void CopyField(char* to, const unsigned char* from) {
  base::SetFieldText(to, settings::kTextFieldSize, base::FieldText(reinterpret_cast<const char*>(from), 16));
}

}  // namespace

void ReadRecordHeader(const RecordFile& file, settings::CRecorderData& data) {
  std::memset(data.deviceName, 0, sizeof data.deviceName);
  for (int i = 0; i < settings::kChannels; ++i) {
    settings::ChannelInfo& ch = data.channels[i];
    std::memset(ch.unit, 0, sizeof ch.unit);
    const std::string name = base::FormatText(base::Text(base::TextId::DefaultChannelName, data.language), i + 1);
    settings::SetChannelName(ch, name);
  }
  data.headerSectors = 0;

  unsigned char head[32];
  if (file.ReadAt(0, head, sizeof head) != sizeof head) return;
  if (RecordCrcFast(head, 16) != GetU32(head + 20)) return;

  // A block of b sectors; b = 0 or 1 cannot hold the names (they end at byte
  // 623) and is refused, as its CRCs can only match by chance.
  const uint32_t b = head[0];
  if (b < 2) return;
  std::vector<unsigned char> block(b * kSectorSize);
  if (file.ReadAt(0, block.data(), block.size()) != block.size()) return;
  if (RecordCrcOfField(block.data(), block.size(), 16) != GetU32(&block[16])) return;

  data.headerSectors = b;
  CopyField(data.deviceName, &block[32]);
  for (int i = 0; i < settings::kChannels; ++i) {
    CopyField(data.channels[i].name, &block[48 + 32 * i]);
    CopyField(data.channels[i].unit, &block[64 + 32 * i]);
  }
}

}  // namespace tessaly::record
