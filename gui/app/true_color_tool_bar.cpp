#include "app/true_color_tool_bar.h"

#include <QAction>

#include "base/texts.h"
#include "resources/drawn_icons.h"

namespace tessaly::gui {

using base::TextId;

CTrueColorToolBar::CTrueColorToolBar(int language, QWidget* parent) : QToolBar(parent) {
  setObjectName(QStringLiteral("toolBar"));
  setMovable(true);  // the gripper
  setFloatable(false);
  setIconSize(QSize(kToolBarImageSize, kToolBarImageSize));
  setToolButtonStyle(Qt::ToolButtonIconOnly);
  const struct {
    Command command;
    TextId tip;
  } buttons[] = {
      {Command::RecordReadParams, TextId::TipRecordReadParams},
      {Command::ShowParams, TextId::TipShowParams},
      {Command::SearchByTime, TextId::TipSearchByTime},
      {Command::RangeStatistics, TextId::TipRecordAreaStatistics},
      {Command::AppAbout, TextId::TipHelp},
  };
  for (const auto& b : buttons) {
    const QString tip = QString::fromUtf8(base::Text(b.tip, language));
    QAction* action = addAction(ToolBarIcon(b.command), tip);
    action->setToolTip(tip);
    action->setData(static_cast<int>(b.command));
    const Command command = b.command;
    connect(action, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
  }
}

QAction* CTrueColorToolBar::Button(Command command) const {
  for (QAction* action : actions())
    if (action->data().toInt() == static_cast<int>(command)) return action;
  return nullptr;
}

}  // namespace tessaly::gui
