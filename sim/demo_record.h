#pragma once
#include "record_writer.h"

namespace tessaly::sim {

// The file `tessaly-sim record --demo` writes for trying the program: eight
// named channels of slow, plausible plant values over a working day, a few
// pages of 1024 sectors, and one of each marker value.
RecordSpec DemoRecordSpec();

}  // namespace tessaly::sim
