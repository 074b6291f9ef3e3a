#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include "app/about_dlg.h"
#include "app/loader_bridge.h"
#include "app/progress_status_bar.h"
#include "app/prompt_service.h"
#include "app/true_color_tool_bar.h"
#include "base/format.h"
#include "realtime/child_frame2.h"
#include "recorder/recorder_data.h"
#include "resources/drawn_icons.h"
#include "settings/settings_file.h"
#include "viewer/child_frame.h"
#include "viewer/record_params_dlg.h"
#include "viewer/show_params_dlg.h"

namespace tessaly::gui {

using base::TextId;

namespace {

// While a load still runs, the close is tried again after this pause.
constexpr int kCloseRetryMs = 10;
// Share of the document area a restored viewer takes.
constexpr double kRestoredShare = 0.75;

void StartOwnExecutable() { QProcess::startDetached(QCoreApplication::applicationFilePath(), {}); }

}  // namespace

CMainFrame::CMainFrame(recorder::CRecorderData& data, PromptService& prompts, MainFrameOptions options)
    : data_(data), prompts_(prompts), options_(std::move(options)), mdiArea_(new QMdiArea(this)) {
  if (!options_.restart) options_.restart = StartOwnExecutable;
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(QString::fromUtf8(Text(TextId::AppTitle)));
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);

  mdiArea_->setObjectName(QStringLiteral("mdiArea"));
  mdiArea_->setBackground(palette().brush(QPalette::Dark));
  setCentralWidget(mdiArea_);
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateCommandStates);

  toolBar_ = new CTrueColorToolBar(data_.language, this);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  connect(toolBar_, &CTrueColorToolBar::commandTriggered, this, &CMainFrame::OnCommand);

  statusBar_ = new CProgressStatusBar(this);
  setStatusBar(statusBar_);

  BuildMenus();
  UpdateCommandStates();

  bridge_ = std::make_unique<LoaderBridge>(static_cast<recorder::LoaderHost&>(*this));
  recorder::LoaderHost* host = bridge_.get();
  if (options_.wrapLoaderHost) {
    wrappedHost_ = options_.wrapLoaderHost(*bridge_);
    host = wrappedHost_.get();
  }
  loader_ = std::make_unique<recorder::PageLoader>(data_, *host);
}

CMainFrame::~CMainFrame() {
  // A frame destroyed under a load (not through its close) stops it and
  // serves its last calls, so the loader never waits on a thread that is gone.
  data_.running = 0;
  while (data_.idle.load() != 1) {
    bridge_->DeliverQueued();
    QThread::yieldCurrentThread();
  }
  loader_.reset();
  // The windows closed by QWidget's destructor must not reach this frame.
  mdiArea_->disconnect(this);
}

const char* CMainFrame::Text(TextId id) const { return base::Text(id, data_.language); }

QMenu* CMainFrame::AddMenu(std::vector<QMenu*>& bar, TextId title) {
  auto* menu = new QMenu(QString::fromUtf8(Text(title)), this);
  bar.push_back(menu);
  return menu;
}

QAction* CMainFrame::AddCommand(QMenu* menu, TextId text, Command command) {
  QAction* action = menu->addAction(QString::fromUtf8(Text(text)));
  action->setData(static_cast<int>(command));
  connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
  return action;
}

void CMainFrame::BuildMenus() {
  // Main menu.
  QMenu* file = AddMenu(mainMenus_, TextId::MenuFile);
  AddCommand(file, TextId::MenuOpenRecordFile, Command::FileOpen);
  AddCommand(file, TextId::MenuOpenRecordFolder, Command::FileOpenFolder);
  AddCommand(file, TextId::MenuRealtimeCollection, Command::RealtimeCollection);
  file->addSeparator();
  AddCommand(file, TextId::MenuExit, Command::AppExit);
  QMenu* params = AddMenu(mainMenus_, TextId::MenuParamsSet);
  AddCommand(params, TextId::MenuShowParams, Command::ShowParams);
  AddCommand(params, TextId::MenuRecordReadParams, Command::RecordReadParams);
  QMenu* language = params->addMenu(QString::fromUtf8(Text(TextId::MenuLanguage)));
  languageGroup_ = new QActionGroup(this);
  for (QAction* action : {AddCommand(language, TextId::MenuChinese, Command::LanguageChinese),
                          AddCommand(language, TextId::MenuEnglish, Command::LanguageEnglish)}) {
    action->setCheckable(true);
    languageGroup_->addAction(action);
  }
  languageGroup_->actions()[data_.language == 0 ? 0 : 1]->setChecked(true);
  QMenu* help = AddMenu(mainMenus_, TextId::MenuHelp);
  AddCommand(help, TextId::MenuAbout, Command::AppAbout);

  // The record viewer's menu.
  QMenu* viewerFile = AddMenu(viewerMenus_, TextId::MenuFile);
  AddCommand(viewerFile, TextId::MenuOpen, Command::FileOpen);
  AddCommand(viewerFile, TextId::MenuOpenRecordFolder, Command::FileOpenFolder);
  AddCommand(viewerFile, TextId::MenuClose, Command::FileClose);
  viewerFile->addSeparator();
  AddCommand(viewerFile, TextId::MenuExit, Command::AppExit);
  QMenu* viewerParams = AddMenu(viewerMenus_, TextId::MenuParams);
  AddCommand(viewerParams, TextId::MenuShowParams, Command::ShowParams);
  AddCommand(viewerParams, TextId::MenuRecordReadParams, Command::RecordReadParams);
  AddCommand(AddMenu(viewerMenus_, TextId::MenuSearch), TextId::MenuSearchByTime, Command::SearchByTime);
  QMenu* statistics = AddMenu(viewerMenus_, TextId::MenuStatistics);
  AddCommand(statistics, TextId::MenuRangeStatistics, Command::RangeStatistics);
  AddCommand(statistics, TextId::CursorStatistics, Command::CursorStatistics);
  QMenu* exportMenu = AddMenu(viewerMenus_, TextId::MenuExport);
  AddCommand(exportMenu, TextId::MenuExportXls, Command::ExportXls);
  AddCommand(exportMenu, TextId::MenuExportCsv, Command::ExportCsv);
  QMenu* print = AddMenu(viewerMenus_, TextId::MenuPrint);
  AddCommand(print, TextId::MenuPreviewPartGraph, Command::PreviewPartGraph);
  AddCommand(print, TextId::MenuPreviewPartList, Command::PreviewPartList);
  AddCommand(AddMenu(viewerMenus_, TextId::MenuHelp), TextId::MenuAbout, Command::AppAbout);

  // The real-time page's menu.
  QMenu* realtimeFile = AddMenu(realtimeMenus_, TextId::MenuFile);
  AddCommand(realtimeFile, TextId::MenuClose, Command::FileClose);
  realtimeFile->addSeparator();
  AddCommand(realtimeFile, TextId::MenuExit, Command::AppExit);
  AddCommand(AddMenu(realtimeMenus_, TextId::MenuHelp), TextId::MenuAbout, Command::AppAbout);
}

CChildFrame* CMainFrame::CurrentViewer() const {
  for (auto it = viewers_.rbegin(); it != viewers_.rend(); ++it)
    if (*it && !(*it)->IsClosed()) return it->data();
  return nullptr;
}

CChildFrame* CMainFrame::ActiveViewer() const {
  QMdiSubWindow* subWindow = mdiArea_->currentSubWindow();
  auto* viewer = subWindow ? qobject_cast<CChildFrame*>(subWindow->widget()) : nullptr;
  return viewer && !viewer->IsClosed() ? viewer : nullptr;
}

CChildFrame2* CMainFrame::CurrentRealtimePage() const {
  return currentRealtimePage_ && !currentRealtimePage_->IsClosed() ? currentRealtimePage_.data() : nullptr;
}

CChildFrame2* CMainFrame::ActiveRealtimePage() const {
  QMdiSubWindow* subWindow = mdiArea_->currentSubWindow();
  auto* page = subWindow ? qobject_cast<CChildFrame2*>(subWindow->widget()) : nullptr;
  return page && !page->IsClosed() ? page : nullptr;
}

void CMainFrame::UpdateCommandStates() {
  const bool viewerActive = ActiveViewer() != nullptr;
  // The viewer's commands are there only while a viewer is active.
  toolBar_->Button(Command::SearchByTime)->setEnabled(viewerActive);
  toolBar_->Button(Command::RangeStatistics)->setEnabled(viewerActive);
  const std::vector<QMenu*>& menus = viewerActive ? viewerMenus_ : (ActiveRealtimePage() ? realtimeMenus_ : mainMenus_);
  QMenuBar* bar = menuBar();
  if (!bar->actions().isEmpty() && bar->actions().first() == menus.front()->menuAction()) return;
  bar->clear();
  for (QMenu* menu : menus) bar->addMenu(menu);
}

void CMainFrame::OnCommand(Command command) {
  if (CChildFrame* viewer = ActiveViewer(); viewer && viewer->OnCommand(command)) return;
  if (CChildFrame2* page = ActiveRealtimePage(); page && page->OnCommand(command)) return;
  switch (command) {
    case Command::FileOpen: NewViewer()->OpenRecordFile(); break;
    case Command::FileOpenFolder: NewViewer()->OpenRecordFolder(); break;
    case Command::RecordReadParams: OnRecordReadParams(); break;
    case Command::LanguageChinese: SwitchLanguage(base::kChinese); break;
    case Command::LanguageEnglish: SwitchLanguage(base::kEnglish); break;
    case Command::AppExit: close(); break;
    case Command::AppAbout: OnAbout(); break;
    case Command::ShowParams: OnShowParams(); break;
    case Command::RealtimeCollection: NewRealtimePage(); break;
    default: break;
  }
}

void CMainFrame::AddChildWindow(QWidget* child) {
  QMdiSubWindow* subWindow = mdiArea_->addSubWindow(
      child, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);  // no system menu
  subWindow->setAttribute(Qt::WA_DeleteOnClose);
  subWindow->setWindowIcon(ProgramIcon());
  subWindow->setWindowTitle(QString());
  // The size the window comes back to when the user restores it.
  subWindow->resize(mdiArea_->size() * kRestoredShare);
  connect(subWindow, &QObject::destroyed, this, &CMainFrame::UpdateCommandStates, Qt::QueuedConnection);
  subWindow->showMaximized();
  mdiArea_->setActiveSubWindow(subWindow);
  UpdateCommandStates();
}

CChildFrame* CMainFrame::NewViewer() {
  data_.childKind = 0;
  auto* viewer = new CChildFrame(*this);
  viewers_.push_back(viewer);
  // Progress shown for a viewer that is gone would look like work going on.
  connect(viewer, &CChildFrame::closed, statusBar_, &CProgressStatusBar::Clear);
  AddChildWindow(viewer);
  return viewer;
}

CChildFrame2* CMainFrame::NewRealtimePage() {
  data_.childKind = 1;
  auto* page = new CChildFrame2(*this);
  currentRealtimePage_ = page;
  AddChildWindow(page);
  return page;
}

void CMainFrame::ReportExportResult(output::ExportResult result, const std::string& file) {
  switch (result) {
    case output::ExportResult::OpenFailed: data_.ShowError(Text(TextId::ExportFileOpenFailed)); break;
    case output::ExportResult::WriteFailed:
      data_.ShowError(base::FormatText(Text(TextId::WriteFailed), file.c_str()));
      break;
    case output::ExportResult::Written:
    case output::ExportResult::NothingToWrite: break;
  }
}

CChildFrame* CMainFrame::OpenRecordPaths(const QStringList& paths) {
  CChildFrame* viewer = NewViewer();
  viewer->OpenRecordPaths(paths);
  return viewer;
}

void CMainFrame::OpenPaths(const QStringList& paths) {
  QStringList records, dataFiles;
  for (const QString& path : paths)
    (QFileInfo(path).suffix().compare(QLatin1String("DT"), Qt::CaseInsensitive) == 0 ? dataFiles : records)
        .append(path);
  if (!records.isEmpty()) OpenRecordPaths(records);
  for (const QString& path : dataFiles) NewRealtimePage()->OpenDataFile(path);
}

void CMainFrame::ClearViewers() {
  for (const QPointer<CChildFrame>& viewer : viewers_)
    if (viewer && !viewer->IsClosed()) viewer->ClearPages();
}

void CMainFrame::StartPageLoad(const record::PageEntry& entry) {
  if (loader_->StartPageLoad(entry.firstSector, entry.sectorCount)) loadLabel_ = entry.label;
}

void CMainFrame::OnRecordReadParams() {
  // From here OK only stores the values; the next open uses them.
  CRecordParamsDlg dialog(data_, this);
  prompts_.RunDialog(dialog);
}

void CMainFrame::OnShowParams() {
  // No viewer to redraw here; a running load still owns the intervals OK writes.
  if (recorder::RefuseWhileLoading(data_)) return;
  CShowParamsDlg dialog(data_, this);
  if (prompts_.RunDialog(dialog) == QDialog::Accepted) settings::WriteSettings(data_);
}

void CMainFrame::SwitchLanguage(int32_t language) {
  if (data_.language == language) return;
  restartOnClose_ = 1;
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  data_.language = language;
  settings::WriteSettings(data_);
}

void CMainFrame::OnAbout() {
  CAboutDlg about(this);
  prompts_.RunDialog(about);
}

void CMainFrame::ReportLoadProgress(uint32_t index) { statusBar_->ShowLoadProgress(index, data_.loadTotal); }

void CMainFrame::ReportFillProgress(unsigned step, unsigned steps) { statusBar_->ShowFillProgress(step, steps); }

void CMainFrame::FillList() {
  if (CChildFrame* viewer = CurrentViewer()) viewer->FillList();
}

void CMainFrame::FillAllGraph() {
  if (CChildFrame* viewer = CurrentViewer()) viewer->FillAllGraph();
}

void CMainFrame::FillPartGraph() {
  if (CChildFrame* viewer = CurrentViewer()) {
    viewer->FillPartGraph();
    viewer->ShowTitle(loadLabel_);
  }
  if (data_.loadCut)
    statusBar_->ShowFillNote(QString::fromStdString(
        base::FormatText(Text(TextId::LoadCutAtLimit), static_cast<unsigned>(record::kSampleBufferLimit))));
  emit loadHandedOff();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  data_.running = 0;
  if (data_.idle.load() != 1) {
    // Never block the UI thread: the loader needs it to end its load.
    event->ignore();
    QTimer::singleShot(kCloseRetryMs, this, &QWidget::close);
    return;
  }
  if (restartOnClose_ == 1) options_.restart();
  if (data_.childKind == 0) {
    delete mdiArea_->currentSubWindow();
    data_.recordSet.Close();
  } else if (CChildFrame2* page = ActiveRealtimePage()) {
    page->OnCommand(Command::FileClose);
  }
  // Every real-time page stops its worker before it goes, whichever is active.
  for (QMdiSubWindow* subWindow : mdiArea_->subWindowList())
    if (auto* page = qobject_cast<CChildFrame2*>(subWindow->widget())) page->StopAcquisition();
  event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) {
      event->acceptProposedAction();
      return;
    }
  }
}

void CMainFrame::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  OpenPaths(paths);
  event->acceptProposedAction();
}

}  // namespace tessaly::gui
