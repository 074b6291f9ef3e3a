#pragma once
// A record file on disk built by the simulator's writer, and the application
// object pointed at it, with its messages recorded.
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "record_writer.h"
#include "recorder/recorder_data.h"
#include "support/temp_dir.h"

namespace tessaly::testing {

class RecordingSink : public base::MessageSink {
 public:
  void ShowMessage(const std::string& text) override { said.push_back(text); }
  std::vector<std::string> said;
};

struct RecordFixture {
  RecordFixture();  // default settings, messages recorded

  // Writes the file and sets `data.recordPaths` to it alone.
  std::string Write(const sim::RecordSpec& recordSpec, const std::string& name = "record.D01");
  // Write, then BuildPageIndex.
  bool Open(const sim::RecordSpec& recordSpec);

  TempDir dir;
  RecordingSink sink;
  recorder::CRecorderData data;
};

}  // namespace tessaly::testing
