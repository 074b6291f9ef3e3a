#pragma once
// Hooks for tools/screenshot, read from the environment at start:
//   TESSALY_AUTOLOAD_FIRST_PAGE=1  clicks the first page of the viewer opened
//                                  from the command line;
//   TESSALY_OPEN_REALTIME=1        opens a real-time page at start;
//   TESSALY_SCREENSHOT=OUT.png     fills the screen with the main window, saves
//                                  a picture of it once that load has been
//                                  handed off (or once the window is up) and
//                                  closes the program. With a real-time page
//                                  it first presses Start, waits for
//                                  kShotRecords records (kShotWaitMs at most)
//                                  and presses Manual Save;
//   TESSALY_SCREENSHOT_CURSORS=A,B clicks part-graph points A (left button)
//                                  and B (right button) before the picture.
// Without these variables nothing happens.

namespace tessaly::gui {

class CMainFrame;

void InstallScreenshotHook(CMainFrame& frame);

}  // namespace tessaly::gui
