#pragma once
// The main window: a multiple-document frame holding record viewers, with the
// main menu, the tool bar and the progress status bar. It owns the one page
// loader, shows its progress, routes its hand-off to the newest open viewer,
// switches the language by restarting and closes only once the loader is idle.
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "base/texts.h"
#include "output/export.h"
#include "record/page_entry.h"
#include "recorder/page_loader.h"
#include "viewer/fill_progress.h"

class QActionGroup;
class QMdiArea;
class QMenu;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CChildFrame;
class CChildFrame2;
class CProgressStatusBar;
class CTrueColorToolBar;
class LoaderBridge;
class PromptService;

struct MainFrameOptions {
  // Starts the program again after a language switch. Default: the program's
  // own executable, detached.
  std::function<void()> restart;
  // Wraps the host the page loader talks to; tests use it to hold a load at a
  // known point. The wrapper runs on the loader thread and must forward.
  std::function<std::unique_ptr<recorder::LoaderHost>(recorder::LoaderHost& bridge)> wrapLoaderHost;
};

class CMainFrame : public QMainWindow, private recorder::LoaderHost, public FillProgressSink {
  Q_OBJECT
 public:
  CMainFrame(recorder::CRecorderData& data, PromptService& prompts, MainFrameOptions options = {});
  ~CMainFrame() override;

  recorder::CRecorderData& data() const { return data_; }
  PromptService& prompts() const { return prompts_; }
  recorder::PageLoader& loader() const { return *loader_; }
  QMdiArea* mdiArea() const { return mdiArea_; }
  CTrueColorToolBar* toolBar() const { return toolBar_; }
  CProgressStatusBar* progressStatusBar() const { return statusBar_; }
  int32_t restartOnClose() const { return restartOnClose_; }
  const char* Text(base::TextId id) const;

  // The viewer created last that is still open: target of the loader's
  // hand-off and of the graph pages' redraws; null when none is open.
  CChildFrame* CurrentViewer() const;
  // The viewer that is the current subwindow, if any.
  CChildFrame* ActiveViewer() const;

  // The real-time page created last that is still open, or null.
  CChildFrame2* CurrentRealtimePage() const;
  // The real-time page that is the current subwindow, if any.
  CChildFrame2* ActiveRealtimePage() const;

  // Runs a menu or tool-bar command: the active child window first, then the frame.
  void OnCommand(Command command);
  // A new, empty record viewer; it becomes the current viewer.
  CChildFrame* NewViewer();
  // A new real-time page; it becomes the current real-time page.
  CChildFrame2* NewRealtimePage();
  // Tells the user how an export ended (nothing when it was written or empty).
  void ReportExportResult(output::ExportResult result, const std::string& file);
  // Opens `paths` as one record set in a new viewer without the file dialog
  // (command line, drops).
  CChildFrame* OpenRecordPaths(const QStringList& paths);
  // Opens `paths` where they belong (command line, drops, the file manager):
  // each data file in a new real-time page, all the others together as one
  // record set in a new viewer.
  void OpenPaths(const QStringList& paths);
  // The SampleBuffer was emptied: every open viewer shows nothing loaded.
  void ClearViewers();
  // Starts the load of a page or search result (refused with the busy
  // message while one runs); the viewer it reaches names it in its title.
  void StartPageLoad(const record::PageEntry& entry);

  // Every page-index rebuild takes a new generation; a viewer's tree is live
  // while its generation is the latest.
  uint64_t NewPageIndexGeneration() { return ++pageIndexGeneration_; }
  uint64_t PageIndexGeneration() const { return pageIndexGeneration_; }

  void ReportFillProgress(unsigned step, unsigned steps) override;

 signals:
  // A load's hand-off has ended (after its last fill), whichever viewer it reached.
  void loadHandedOff();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The loader's host, called on the UI thread through the bridge.
  void ReportLoadProgress(uint32_t index) override;
  void FillList() override;
  void FillAllGraph() override;
  void FillPartGraph() override;

  void BuildMenus();
  QMenu* AddMenu(std::vector<QMenu*>& bar, base::TextId title);
  QAction* AddCommand(QMenu* menu, base::TextId text, Command command);
  // Puts `child` into a maximised subwindow without a system menu, active.
  void AddChildWindow(QWidget* child);
  void UpdateCommandStates();
  void SwitchLanguage(int32_t language);
  void OnRecordReadParams();
  void OnShowParams();
  void OnAbout();

  recorder::CRecorderData& data_;
  PromptService& prompts_;
  MainFrameOptions options_;
  QMdiArea* mdiArea_;
  CTrueColorToolBar* toolBar_;
  CProgressStatusBar* statusBar_;
  std::vector<QMenu*> mainMenus_;      // shown while no viewer is active
  std::vector<QMenu*> viewerMenus_;    // shown while a viewer is active
  std::vector<QMenu*> realtimeMenus_;  // shown while a real-time page is active
  QActionGroup* languageGroup_ = nullptr;
  std::vector<QPointer<CChildFrame>> viewers_;  // in creation order
  QPointer<CChildFrame2> currentRealtimePage_;
  int32_t restartOnClose_ = 0;
  uint64_t pageIndexGeneration_ = 0;
  std::string loadLabel_;  // label of the entry the running or last load reads
  std::unique_ptr<LoaderBridge> bridge_;
  std::unique_ptr<recorder::LoaderHost> wrappedHost_;
  std::unique_ptr<recorder::PageLoader> loader_;
};

}  // namespace tessaly::gui
