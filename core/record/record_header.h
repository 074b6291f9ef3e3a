#pragma once
#include <cstdint>

#include "record/record_file.h"
#include "settings/channel_info.h"

namespace tessaly::record {

// Reads and checks the header block of `file`: returns its sector count b and
// sets the device name and every channel's name and unit in `header`
// (default names "通道%2.2d" / "Channel%2.2d" in `language`, and 0, when the
// header does not pass). Nothing else in `header` changes. Never reads
// beyond the b x 512 bytes of the block.
uint32_t ReadRecordHeader(const RecordFile& file, settings::DisplaySettings& header, int32_t language);

}  // namespace tessaly::record
