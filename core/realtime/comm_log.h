#pragma once
// The communication log of the real-time panel: every exchange echoed as a
// line of hexadecimal bytes.
#include <cstddef>
#include <string>
#include <vector>

namespace tessaly::realtime {

// Where the protocol writes its lines. The panel's list implements it (on its
// own thread); each call completes before the caller goes on.
class CommLog {
 public:
  virtual ~CommLog() = default;
  virtual void AddLine(const std::string& utf8Text) = 0;
};

// The lines the list shows. A list that grows past kMaxLines is emptied,
// the new line included, so the log never grows without bound.
class CommLogLines : public CommLog {
 public:
  static constexpr size_t kMaxLines = 100;

  void AddLine(const std::string& utf8Text) override;
  void Clear() { lines_.clear(); }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace tessaly::realtime
