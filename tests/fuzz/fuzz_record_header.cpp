// The header block of a record file: both CRC checks and the name fields.
#include "fuzz_input.h"
#include "record/record_header.h"
#include "recorder/recorder_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly;
  const std::string path = fuzz::InputFile(data, size, "header.D01");
  recorder::CRecorderData recorder;
  recorder.language = size % 2;
  record::RecordFile file;
  if (!file.Open(path)) return 0;
  record::ReadRecordHeader(file, recorder);
  if (recorder.headerSectors * record::kSectorSize > file.Size()) std::abort();
  for (const auto& channel : recorder.channels)
    if (channel.name[sizeof channel.name - 1] != 0 || channel.unit[sizeof channel.unit - 1] != 0) std::abort();
  return 0;
}
