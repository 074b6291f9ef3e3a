#pragma once
// The text table as Qt strings, and the control ids of the dialogs.
#include <QString>
#include <QWidget>

#include "base/texts.h"

namespace tessaly::gui {

inline QString UiText(base::TextId id, int language) { return QString::fromUtf8(base::Text(id, language)); }

// A dialog's control carries its numeric id as object name, so callers and
// tests find it by id: findChild<QLineEdit*>("1017").
template <class W>
W* WithControlId(W* widget, int id) {
  widget->setObjectName(QString::number(id));
  return widget;
}

}  // namespace tessaly::gui
