#include "realtime/comm_log.h"

namespace tessaly::realtime {

void CommLogLines::AddLine(const std::string& utf8Text) {
  lines_.push_back(utf8Text);
  if (lines_.size() > kMaxLines) lines_.clear();
}

}  // namespace tessaly::realtime
