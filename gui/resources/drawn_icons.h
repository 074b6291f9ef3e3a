#pragma once
// The program's pictures, drawn in code so they stay sharp at every size: the
// program icon and the five tool-bar images, each with a disabled look.
#include <QIcon>
#include <QPixmap>

#include "app/command_ids.h"

namespace tessaly::gui {

constexpr int kToolBarImageSize = 48;

// The chart-recorder icon of the windows, the about box and the desktop, at
// these sizes.
constexpr int kProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QIcon ProgramIcon();
QPixmap ProgramPixmap(int size);

// The image of a tool-bar command at 48 x 48, normal and disabled. Commands
// without an image give a null icon.
QIcon ToolBarIcon(Command command);

// Grey, faded copy used for the disabled state.
QPixmap DisabledLook(const QPixmap& normal);

}  // namespace tessaly::gui
