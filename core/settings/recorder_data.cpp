#include "settings/recorder_data.h"

#include <cstring>

namespace tessaly::settings {

CRecorderData::CRecorderData() : DisplaySettings{} {}

void CRecorderData::ShowMessage(const std::string& utf8Text) const {
  if (messages) messages->ShowMessage(utf8Text);
}

}  // namespace tessaly::settings
