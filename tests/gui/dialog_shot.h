#pragma once
// With TESSALY_SHOTS_DIR set, GUI tests save pictures of the dialogs they
// open there, so a person can look at them in both languages.
#include <QDir>
#include <QString>
#include <QWidget>

namespace tessaly::testing {

inline void SaveShot(QWidget& widget, const QString& name) {
  const QString dir = qEnvironmentVariable("TESSALY_SHOTS_DIR");
  if (dir.isEmpty()) return;
  widget.adjustSize();
  widget.show();
  widget.grab().save(QDir(dir).filePath(name + ".png"));
}

}  // namespace tessaly::testing
