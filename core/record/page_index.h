#pragma once
// Opening a record file and dividing its data sectors into labelled pages.
#include <cstdint>
#include <vector>

#include "record/page_entry.h"

namespace tessaly::settings {
struct CRecorderData;
}

namespace tessaly::record {

// Closes the previous file, opens `data.recordPath` exclusively, reads the
// header, hides the channels the file does not record and builds
// `data.pages`. On failure it has already shown "文件打开失败" / "Failed to
// open file" through `data.messages` and returns false.
bool BuildPageIndex(settings::CRecorderData& data);

}  // namespace tessaly::record
