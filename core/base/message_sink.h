#pragma once
// Where core's user-facing messages go. Core never shows anything itself: the
// desktop program shows a message box, the command line prints to stderr,
// tests record what was said.
#include <string>

namespace tessaly::base {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A modal message with one OK button; returns when the user has seen it.
  virtual void ShowMessage(const std::string& utf8Text) = 0;
  // The same for a failure, which the desktop program marks as a warning.
  virtual void ShowError(const std::string& utf8Text) { ShowMessage(utf8Text); }
};

}  // namespace tessaly::base
