// The .DT reader and the time texts of its records.
#include <cstdlib>

#include "fuzz_input.h"
#include "realtime/data_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly::realtime;
  const std::string path = tessaly::fuzz::InputFile(data, size, "run.DT");
  const auto records = ReadDataFile(path);
  if (!records || records->size() != size / kRecordSize) std::abort();
  for (const RealtimeRecord& record : *records) {
    const tessaly::record::CalendarFields f = RecordFields(record);
    // A time either converts into the OLE range or prints as -1 throughout.
    if (f.year == -1 ? f.month != -1 || f.second != -1 : f.year < 100 || f.year > 9999) std::abort();
    if (PointLabel(f).size() > 64) std::abort();
  }
  return 0;
}
