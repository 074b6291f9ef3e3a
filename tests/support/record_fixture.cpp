#include "support/record_fixture.h"

#include <algorithm>
#include <cstdlib>

#include "record/page_index.h"
#include "recorder/build_page_index.h"
#include "settings/settings_file.h"

namespace tessaly::testing {

RecordFixture::RecordFixture() {
  settings::ApplyDefaultSettings(data);
  data.messages = &sink;
}

std::string RecordFixture::Write(const sim::RecordSpec& recordSpec, const std::string& name) {
  const std::string path = dir.File(name);
  // Windows refuses to replace a file that is held open.
  if (std::find(data.recordPaths.begin(), data.recordPaths.end(), path) != data.recordPaths.end())
    data.recordSet.Close();
  if (!sim::WriteRecordFile(path, recordSpec)) std::abort();
  data.recordPaths = {path};
  return path;
}

bool RecordFixture::Open(const sim::RecordSpec& recordSpec) {
  Write(recordSpec);
  return recorder::BuildPageIndex(data);
}

}  // namespace tessaly::testing
