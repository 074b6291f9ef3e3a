// Writes the program icon into a hicolor icon tree at the usual sizes:
//   tessaly-icons FOLDER NAME   ->   FOLDER/SIZExSIZE/apps/NAME.png
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "resources/drawn_icons.h"

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: tessaly-icons FOLDER NAME\n", stderr);
    return 2;
  }
  for (const int size : tessaly::gui::kProgramIconSizes) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    const QString path = QStringLiteral("%1/%2.png").arg(folder, QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(folder) || !tessaly::gui::ProgramPixmap(size).save(path, "PNG")) {
      std::fprintf(stderr, "tessaly-icons: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
