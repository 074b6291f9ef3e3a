#include "record/record_header.h"

#include <cstring>
#include <vector>

#include "base/format.h"
#include "base/gbk.h"
#include "base/texts.h"
#include "record/record_crc.h"

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

uint32_t ReadRecordHeader(const RecordFile& file, settings::DisplaySettings& header, int32_t language) {
  std::memset(header.deviceName, 0, sizeof header.deviceName);
  for (int i = 0; i < settings::kChannels; ++i) {
    settings::ChannelInfo& ch = header.channels[i];
    std::memset(ch.unit, 0, sizeof ch.unit);
    const std::string name = base::FormatText(base::Text(base::TextId::DefaultChannelName, language), i + 1);
    settings::SetChannelName(ch, name);
  }

  unsigned char head[32];
  if (file.ReadAt(0, head, sizeof head) != sizeof head) return 0;
  if (RecordCrcFast(head, 16) != GetU32(head + 20)) return 0;

  // A block of b sectors; b = 0 or 1 cannot hold the names (they end at byte
  // 623) and is refused, as its CRCs can only match by chance.
  const uint32_t b = head[0];
  if (b < 2) return 0;
  std::vector<unsigned char> block(b * kSectorSize);
  if (file.ReadAt(0, block.data(), block.size()) != block.size()) return 0;
  if (RecordCrcOfField(block.data(), block.size(), 16) != GetU32(&block[16])) return 0;

  CopyField(header.deviceName, &block[32]);
  for (int i = 0; i < settings::kChannels; ++i) {
    CopyField(header.channels[i].name, &block[48 + 32 * i]);
    CopyField(header.channels[i].unit, &block[64 + 32 * i]);
  }
  return b;
}

}  // namespace tessaly::record
