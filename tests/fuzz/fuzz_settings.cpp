// The settings file "记录仪.ini" of any length and content.
#include <cstdlib>

#include "fuzz_input.h"
#include "settings/settings_file.h"
#include "settings/unit_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaly;
  static const bool moved = ::setenv("TESSALY_SETTINGS_DIR", fuzz::WorkFolder().c_str(), 1) == 0;
  if (!moved) std::abort();
  fuzz::InputFile(data, size, "记录仪.ini");
  settings::ProgramSettings recorder;
  settings::ReadSettings(recorder);
  // What later code divides by or indexes with stays inside its tables.
  for (const auto& channel : recorder.channels)
    if (channel.unitIndex < 0 || channel.unitIndex >= settings::kUnitCount || channel.lineWidth < 1 ||
        channel.lineWidth > 4 || channel.name[0] != 0)
      std::abort();
  if (recorder.baudIndex < 0 || recorder.baudIndex > 4 || recorder.parityIndex < 0 || recorder.parityIndex > 2)
    std::abort();
  return 0;
}
