#include "app/about_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "base/texts.h"
#include "resources/drawn_icons.h"

namespace tessaly::gui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutBox"));
  // No title and only the close box. An empty title would show the
  // program's name instead, so the title is a blank.
  setWindowTitle(QStringLiteral(" "));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  // One version of the box for both languages.
  constexpr int kLanguage = base::kEnglish;
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("aboutIcon"));
  icon->setPixmap(ProgramPixmap(64));
  auto* version = new QLabel(QString::fromUtf8(base::Text(base::TextId::AboutVersion, kLanguage)), this);
  version->setObjectName(QStringLiteral("aboutVersion"));
  auto* update = new QLabel(QString::fromUtf8(base::Text(base::TextId::AboutUpdate, kLanguage)), this);
  update->setObjectName(QStringLiteral("aboutUpdate"));
  auto* lines = new QVBoxLayout;
  lines->addStretch();
  lines->addWidget(version);
  lines->addWidget(update);
  lines->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(20, 16, 32, 16);
  layout->setSpacing(18);
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addLayout(lines);
  setFixedSize(sizeHint());
}

}  // namespace tessaly::gui
