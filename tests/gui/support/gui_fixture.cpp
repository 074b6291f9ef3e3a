#include "gui/support/gui_fixture.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <chrono>

#include "app/progress_status_bar.h"
#include "app/true_color_tool_bar.h"
#include "record_writer.h"
#include "settings/settings_file.h"
#include "viewer/child_frame.h"

namespace tessaly::testing {

// Generous bounds for waits on conditions; they never decide a result.
constexpr int kWaitMs = 20000;

void LoaderProbe::Record(std::string call) {
  std::lock_guard lock(mutex_);
  calls_.push_back(std::move(call));
}

void LoaderProbe::ReportLoadProgress(uint32_t index) {
  {
    std::unique_lock lock(mutex_);
    calls_.push_back("progress " + std::to_string(index));
    if (holdNext_) {
      holdNext_ = false;
      held_ = true;
      changed_.notify_all();
      changed_.wait(lock, [this] { return !held_; });
    }
  }
  next_.ReportLoadProgress(index);
}

void LoaderProbe::FillList() {
  Record("FillList");
  next_.FillList();
}

void LoaderProbe::FillAllGraph() {
  Record("FillAllGraph");
  next_.FillAllGraph();
}

void LoaderProbe::FillPartGraph() {
  Record("FillPartGraph");
  next_.FillPartGraph();
}

void LoaderProbe::HoldNextLoad() {
  std::lock_guard lock(mutex_);
  holdNext_ = true;
}

bool LoaderProbe::WaitUntilHeld() {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(kWaitMs), [this] { return held_; });
}

void LoaderProbe::Release() {
  std::lock_guard lock(mutex_);
  held_ = false;
  changed_.notify_all();
}

std::vector<std::string> LoaderProbe::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void LoaderProbe::ClearCalls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

GuiTest::GuiTest() {
  data.messages = &prompts;
  settings::ApplyDefaultSettings(data);
}

GuiTest::~GuiTest() {
  if (probe) probe->Release();
  frame.reset();
  data.messages = nullptr;
}

gui::CMainFrame& GuiTest::MakeFrame() {
  gui::MainFrameOptions options;
  options.restart = [this] { ++restarts; };
  options.wrapLoaderHost = [this](recorder::LoaderHost& bridge) {
    auto wrapper = std::make_unique<LoaderProbe>(bridge);
    probe = wrapper.get();
    return wrapper;
  };
  frame = std::make_unique<gui::CMainFrame>(data, prompts, std::move(options));
  frame->resize(1200, 800);
  frame->show();
  return *frame;
}

std::string GuiTest::WriteRecord(const std::string& name, uint32_t sectors) {
  sim::RecordSpec recordSpec;
  recordSpec.sectorCount = sectors;
  const std::string path = files.File(name);
  EXPECT_TRUE(sim::WriteRecordFile(path, recordSpec));
  return path;
}

gui::CChildFrame* GuiTest::OpenThroughMenu(const std::string& path) {
  EXPECT_EQ(frame->ActiveViewer(), nullptr) << "a viewer's Open reuses that viewer";
  prompts.paths.push_back(QString::fromStdString(path));
  Trigger(gui::Command::FileOpen);
  return frame->CurrentViewer();
}

void GuiTest::Trigger(gui::Command command) {
  QAction* action = FindCommand(frame->menuBar(), command);
  if (!action) action = FindCommand(frame->toolBar(), command);
  ASSERT_NE(action, nullptr) << "no action for command " << static_cast<int>(command);
  ASSERT_TRUE(action->isEnabled());
  action->trigger();
}

bool GuiTest::WaitForIdle() {
  return QTest::qWaitFor([this] { return data.idle.load() == 1; }, kWaitMs);
}

QAction* FindCommand(QWidget* widget, gui::Command command) {
  for (QAction* action : widget->actions()) {
    if (action->data().toInt() == static_cast<int>(command) && !action->menu()) return action;
    if (QMenu* menu = action->menu())
      if (QAction* inner = FindCommand(menu, command)) return inner;
  }
  return nullptr;
}

namespace {

void Describe(QMenu* menu, const QString& path, QStringList& out) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator())
      out << path + QStringLiteral("/-");
    else if (action->menu())
      Describe(action->menu(), path + QLatin1Char('/') + action->text(), out);
    else
      out << QStringLiteral("%1/%2=%3").arg(path, action->text()).arg(action->data().toInt());
  }
}

}  // namespace

QStringList DescribeMenus(QMenuBar* bar) {
  QStringList out;
  for (QAction* action : bar->actions())
    if (action->menu()) Describe(action->menu(), action->text(), out);
  return out;
}

}  // namespace tessaly::testing
