#pragma once
// What the GUI tests share: a settings folder of their own, the application
// data, scripted prompts, a main frame whose restart is counted and whose
// loader talks through a probe that counts the calls and can hold a load.
#include <QAction>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "gui/support/scripted_prompts.h"
#include "recorder/page_loader.h"
#include "recorder/recorder_data.h"
#include "support/temp_dir.h"

class QMenuBar;
class QWidget;

namespace tessaly::testing {

// Sits between the loader and the frame's bridge on the loader thread.
class LoaderProbe : public recorder::LoaderHost {
 public:
  explicit LoaderProbe(recorder::LoaderHost& next) : next_(next) {}

  void ReportLoadProgress(uint32_t index) override;
  void FillList() override;
  void FillAllGraph() override;
  void FillPartGraph() override;

  // The next load stops in its first progress report until Release().
  void HoldNextLoad();
  // Waits (bounded) until a load is held; false if none arrived.
  bool WaitUntilHeld();
  void Release();

  // Calls seen so far: "progress 0", "FillList", ...
  std::vector<std::string> Calls() const;
  void ClearCalls();

 private:
  void Record(std::string call);

  recorder::LoaderHost& next_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> calls_;
  bool holdNext_ = false;
  bool held_ = false;
};

class GuiTest : public ::testing::Test {
 protected:
  GuiTest();
  ~GuiTest() override;

  // A main frame on `data`, shown; its loader talks through `probe`.
  gui::CMainFrame& MakeFrame();
  // A record file of `sectors` data sectors after a 2-sector header, starting 2015-01-05 08:00:00.
  std::string WriteRecord(const std::string& name, uint32_t sectors);
  // Opens `path` through the main menu's open command and the scripted file
  // dialog (the main menu is there while no viewer is active).
  gui::CChildFrame* OpenThroughMenu(const std::string& path);
  // Runs the command as a click on its action (menu bar or tool bar) would.
  void Trigger(gui::Command command);
  // Waits, processing events, until the loader is idle again.
  bool WaitForIdle();

  ScopedSettingsDir settingsDir;
  TempDir files;
  recorder::CRecorderData data;
  ScriptedPrompts prompts;
  std::unique_ptr<gui::CMainFrame> frame;
  LoaderProbe* probe = nullptr;
  int restarts = 0;
};

// The action of `command` among the actions under `widget` (menus included).
QAction* FindCommand(QWidget* widget, gui::Command command);
// "Title/Item=command" for every item of the menu bar, in order; separators as "-".
QStringList DescribeMenus(QMenuBar* bar);

}  // namespace tessaly::testing
