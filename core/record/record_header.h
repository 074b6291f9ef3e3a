#pragma once
#include "record/record_file.h"

namespace tessaly::settings {
struct CRecorderData;
}

namespace tessaly::record {

// Reads and checks the header block of `file` and sets `headerSectors`, the
// device name and every channel's name and unit in `data` (default names
// "通道%2.2d" / "Channel%2.2d" when the header does not pass). Shown flags are
// left alone. Never reads beyond the b x 512 bytes of the block.
void ReadRecordHeader(const RecordFile& file, settings::CRecorderData& data);

}  // namespace tessaly::record
