#pragma once
// The text table as Qt strings.
#include <QString>

#include "base/texts.h"

namespace tessaly::gui {

inline QString UiText(base::TextId id, int language) { return QString::fromUtf8(base::Text(id, language)); }

}  // namespace tessaly::gui
