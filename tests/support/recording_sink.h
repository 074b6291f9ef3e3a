#pragma once
// A message sink that remembers what was said instead of showing it.
#include <string>
#include <vector>

#include "base/message_sink.h"

namespace tessaly::testing {

class RecordingSink : public base::MessageSink {
 public:
  void ShowMessage(const std::string& utf8Text) override { said.push_back(utf8Text); }
  std::vector<std::string> said;
};

}  // namespace tessaly::testing
