// The header block of a record file: both CRC checks and the name fields.
#include "fuzz_input.h"
#include "record/record_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly;
  const std::string path = fuzz::InputFile(data, size, "header.D01");
  settings::DisplaySettings header{};
  record::RecordFile file;
  if (!file.Open(path)) return 0;
  const uint32_t sectors = record::ReadRecordHeader(file, header, static_cast<int32_t>(size % 2));
  if (sectors * record::kSectorSize > file.Size()) std::abort();
  for (const auto& channel : header.channels)
    if (channel.name[sizeof channel.name - 1] != 0 || channel.unit[sizeof channel.unit - 1] != 0) std::abort();
  return 0;
}
