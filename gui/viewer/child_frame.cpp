#include "viewer/child_frame.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

#include "app/main_frame.h"
#include "app/prompt_service.h"
#include "base/format.h"
#include "output/csv_export.h"
#include "output/print_frame.h"
#include "output/workbook_export.h"
#include "record/page_index.h"
#include "record/search.h"
#include "recorder/build_page_index.h"
#include "recorder/page_loader.h"
#include "recorder/recorder_data.h"
#include "recorder/search_by_time.h"
#include "settings/settings_file.h"
#include "viewer/cursor_panel.h"
#include "viewer/data_graph_dlg.h"
#include "viewer/data_list_dlg.h"
#include "viewer/my_form_view.h"
#include "viewer/part_graph_cursors.h"
#include "viewer/record_params_dlg.h"
#include "viewer/search_by_time_dlg.h"
#include "viewer/show_params_dlg.h"
#include "viewer/statistics_dlg.h"
#include "widgets/splitter_ctrl.h"

namespace tessaly::gui {

using base::TextId;

CChildFrame::CChildFrame(CMainFrame& mainFrame, QWidget* parent)
    : QWidget(parent),
      main_(mainFrame),
      data_(mainFrame.data()),
      splitter_(new SplitterCtrl(this)),
      formView_(new CMyFormView(data_, &mainFrame, splitter_)),
      pageTree_(new QTreeWidget(splitter_)) {
  setObjectName(QStringLiteral("recordViewer"));
  splitter_->setObjectName(QStringLiteral("splitter"));
  pageTree_->setObjectName(QStringLiteral("pageTree"));
  pageTree_->setHeaderHidden(true);
  pageTree_->setColumnCount(1);
  pageTree_->setRootIsDecorated(true);
  // Whole labels, with a horizontal scroll bar when the pane is narrow.
  pageTree_->setTextElideMode(Qt::ElideNone);
  pageTree_->header()->setStretchLastSection(false);
  pageTree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  pageTree_->viewport()->installEventFilter(this);

  splitter_->SetColumnShares({85, 15});
  splitter_->SetPane(0, formView_);
  splitter_->SetPane(1, pageTree_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);

  pagingRoot_ = AddRoot(main_.Text(TextId::TreePagingRoot));
  searchedRoot_ = AddRoot(main_.Text(TextId::TreeSearchedRoot));

  connect(&formView_->graphPage()->CursorPanel(), &CCursorPanel::statisticsRequested, this,
          &CChildFrame::OnCursorStatistics);
  // A band drag redraws the part graph of the newest open viewer.
  formView_->graphPage()->redrawPartGraph = [this] {
    if (CChildFrame* viewer = main_.CurrentViewer()) viewer->FillPartGraph();
  };
}

QTreeWidgetItem* CChildFrame::AddRoot(const char* text) {
  auto* root = new QTreeWidgetItem(QStringList{QString::fromUtf8(text)});
  root->setData(0, kItemDataRole, 0);
  pageTree_->addTopLevelItem(root);
  return root;
}

void CChildFrame::OpenRecordFile() {
  const QStringList paths =
      main_.prompts().OpenFileNames(this, QString::fromUtf8(main_.Text(TextId::MenuOpen)),
                                    QtFileFilter(QString::fromUtf8(main_.Text(TextId::RecordFileFilter))));
  if (paths.isEmpty()) {
    CloseWindow();
    return;
  }
  OpenRecordPaths(paths);
}

void CChildFrame::OpenRecordFolder() {
  const QString folder =
      main_.prompts().FolderName(this, QString::fromUtf8(main_.Text(TextId::MenuOpenRecordFolder)), QString());
  if (folder.isEmpty()) {
    CloseWindow();
    return;
  }
  OpenRecordPaths({folder});
}

void CChildFrame::OpenRecordPaths(const QStringList& paths) {
  if (recorder::RefuseWhileLoading(data_)) return;
  std::vector<std::string> named;
  for (const QString& path : paths) named.push_back(QFile::encodeName(path).toStdString());
  data_.recordPaths = record::ExpandRecordPaths(named);
  if (data_.recordPaths.empty()) {  // folders without a record file
    data_.ShowError(base::FormatText(main_.Text(TextId::SetNoRecordFiles), named.front().c_str()));
    return;
  }
  // The samples were the previous file's: whether or not this open succeeds,
  // no viewer shows them and no command works on them any more.
  data_.samples.clear();
  main_.ClearViewers();
  if (RebuildPageTree()) ShowTitle({});
}

bool CChildFrame::RebuildPageTree() {
  // The loader reads the record file and the page list: not under a load.
  if (recorder::RefuseWhileLoading(data_)) return false;
  const uint64_t generation = main_.NewPageIndexGeneration();
  if (!recorder::BuildPageIndex(data_)) return false;
  delete pagingRoot_;
  const record::RecordSet& set = data_.recordSet;
  std::string rootText = main_.Text(TextId::TreePagingRoot);
  if (set.FileCount() > 1)
    rootText += " - " + base::FormatText(main_.Text(TextId::TreeSetFiles), set.Name().c_str(),
                                         static_cast<int>(set.FileCount()));
  pagingRoot_ = AddRoot(rootText.c_str());
  QStringList fileNames;
  for (size_t k = 0; k < set.FileCount(); ++k)
    fileNames.append(QFileInfo(QFile::decodeName(set.Member(k).path.c_str())).fileName());
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(data_.pages.size()));
  for (size_t i = 0; i < data_.pages.size(); ++i) {
    const record::PageEntry& page = data_.pages[i];
    auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(page.label)});
    item->setData(0, kItemDataRole, static_cast<int32_t>(i + 1));
    const auto [first, last] = set.MembersSpanning(page.firstSector, page.sectorCount);
    item->setToolTip(
        0, fileNames.mid(static_cast<qsizetype>(first), static_cast<qsizetype>(last - first)).join(QLatin1Char('\n')));
    items.append(item);
  }
  pagingRoot_->addChildren(items);
  pagingRoot_->setExpanded(true);
  treeGeneration_ = generation;
  return true;
}

void CChildFrame::ShowTitle(const std::string& pageLabel) {
  QString title = QFile::decodeName(QByteArray::fromStdString(data_.recordSet.Name()));
  if (!pageLabel.empty()) title += QStringLiteral(" - %1").arg(QString::fromStdString(pageLabel));
  if (auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget()))
    subWindow->setWindowTitle(title);
  else
    setWindowTitle(title);
}

QRect CChildFrame::LabelRect(const QTreeWidgetItem* item) const {
  QRect cell = pageTree_->visualItemRect(item);  // without the branch and its expand button
  const int margin = pageTree_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pageTree_) + 1;
  const int width = pageTree_->fontMetrics().horizontalAdvance(item->text(0)) + 2 * margin;
  cell.setWidth(std::min(width, cell.width()));
  return cell;
}

void CChildFrame::OnPageTreeClick(const QPoint& pos) {
  QTreeWidgetItem* item = pageTree_->itemAt(pos);
  if (!item || !LabelRect(item).contains(pos)) return;
  pageTree_->setCurrentItem(item);
  const int32_t d = item->data(0, kItemDataRole).toInt();
  if (d <= 0) return;
  // Entries that no longer exist are not loaded: page items of a tree that an
  // older page index filled, and items past the end of the lists.
  const record::PageEntry* entry = nullptr;
  if (d < record::SearchedItemBase) {
    const auto position = static_cast<size_t>(d - 1);
    if (treeGeneration_ == main_.PageIndexGeneration() && position < data_.pages.size()) entry = &data_.pages[position];
  } else if (const auto position = static_cast<size_t>(d - record::SearchedItemBase);
             position < data_.searched.size()) {
    entry = &data_.searched[position];
  }
  if (entry) main_.StartPageLoad(*entry);
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pageTree_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) OnPageTreeClick(mouse->position().toPoint());
  }
  return QWidget::eventFilter(watched, event);
}

void CChildFrame::FillList() { formView_->listPage()->FillList(); }

void CChildFrame::FillAllGraph() { formView_->graphPage()->FillAllGraph(); }

void CChildFrame::FillPartGraph() { formView_->graphPage()->FillPartGraph(); }

void CChildFrame::ClearPages() {
  formView_->graphPage()->Clear();
  formView_->listPage()->Clear();
}

bool CChildFrame::OnCommand(Command command) {
  switch (command) {
    case Command::FileOpen: OpenRecordFile(); return true;
    case Command::FileOpenFolder: OpenRecordFolder(); return true;
    case Command::FileClose: OnClose(); return true;
    case Command::ShowParams: OnShowParams(); return true;
    case Command::RecordReadParams: OnRecordReadParams(); return true;
    case Command::SearchByTime: OnSearchByTime(); return true;
    case Command::RangeStatistics: OnRangeStatistics(); return true;
    case Command::CursorStatistics: OnCursorStatistics(); return true;
    case Command::ExportXls:
    case Command::ExportCsv: OnExport(command); return true;
    case Command::PreviewPartGraph: OnPreview(1); return true;
    case Command::PreviewPartList: OnPreview(0); return true;
    default: return false;
  }
}

void CChildFrame::CloseWindow() {
  if (auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget()))
    subWindow->close();
  else
    close();
}

void CChildFrame::OnClose() {
  if (recorder::RefuseWhileLoading(data_)) return;
  CloseWindow();
  data_.recordSet.Close();
}

void CChildFrame::OnRecordReadParams() {
  CRecordParamsDlg dialog(data_, this);
  if (main_.prompts().RunDialog(dialog) == QDialog::Accepted) RebuildPageTree();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  closed_ = true;
  event->accept();
  emit closed();
}

void CChildFrame::OnShowParams() {
  // The fills read the SampleBuffer, which a running load owns.
  if (recorder::RefuseWhileLoading(data_)) return;
  CShowParamsDlg dialog(data_, this);
  if (main_.prompts().RunDialog(dialog) != QDialog::Accepted) return;
  settings::WriteSettings(data_);
  FillList();
  FillAllGraph();
  FillPartGraph();
}

void CChildFrame::OnSearchByTime() {
  CSearchByTimeDlg dialog(data_, this);
  if (main_.prompts().RunDialog(dialog) != QDialog::Accepted) return;
  const recorder::SearchOutcome outcome =
      recorder::SearchByTime(data_, dialog.StartFields(), dialog.StopFields(), dialog.SaveToTree(), dialog.ClearTree());
  if (outcome.cleared) {
    delete searchedRoot_;
    searchedRoot_ = AddRoot(main_.Text(TextId::TreeSearchedRoot));
  }
  switch (outcome.action) {
    case recorder::SearchAction::Keep: {
      auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(outcome.entry.label)});
      item->setData(0, kItemDataRole, outcome.itemData);
      searchedRoot_->addChild(item);
      searchedRoot_->setExpanded(true);
      break;
    }
    case recorder::SearchAction::Load: main_.StartPageLoad(outcome.entry); break;
    case recorder::SearchAction::Nothing: break;
  }
}

void CChildFrame::OnRangeStatistics() {
  // The SampleBuffer belongs to a running load; an empty one has nothing to count.
  if (recorder::RefuseWhileLoading(data_) || data_.samples.empty()) return;
  CStatisticsDlg dialog(data_, this);
  main_.prompts().RunDialog(dialog);
}

// The statistics dialog on the range from the earlier cursor to the later.
void CChildFrame::OnCursorStatistics() {
  if (recorder::RefuseWhileLoading(data_) || data_.samples.empty()) return;
  const PartGraphCursors& cursors = formView_->graphPage()->Cursors();
  const std::optional<size_t> a = cursors.Sample(PartGraphCursors::kA);
  const std::optional<size_t> b = cursors.Sample(PartGraphCursors::kB);
  if (!a || !b) {
    data_.ShowMessage(main_.Text(TextId::CursorsNotSet));
    return;
  }
  CStatisticsDlg dialog(data_, this);
  dialog.SetRange(data_.samples.TimeAt(std::min(*a, *b)), data_.samples.TimeAt(std::max(*a, *b)));
  main_.prompts().RunDialog(dialog);
}

void CChildFrame::OnExport(Command command) {
  if (recorder::RefuseWhileLoading(data_)) return;
  const bool workbook = command == Command::ExportXls;
  const QString path = main_.prompts().SaveFileName(
      this, {},
      QtFileFilter(QString::fromUtf8(main_.Text(workbook ? TextId::ExportWorkbookFilter : TextId::ExportCsvFilter))),
      {});
  if (path.isEmpty()) return;
  const std::string file = QFile::encodeName(path).toStdString();
  const uint32_t interval = static_cast<uint32_t>(std::max(data_.listInterval, 1));
  const auto progress = [this](uint32_t row, uint32_t rows) { main_.ReportFillProgress(row, rows); };
  const auto write = workbook ? output::WriteViewerWorkbookFile : output::WriteViewerCsvFile;
  main_.ReportExportResult(write(file, data_.samples, data_.Display(), interval, data_.language, progress), file);
}

void CChildFrame::OnPreview(int32_t printKind) {
  printKind_ = printKind;
  if (recorder::RefuseWhileLoading(data_)) return;
  CPrintFrame::Open(*this, *this, main_.prompts(), data_.language, &main_);
}

uint32_t CChildFrame::BeginPrinting() {
  if (recorder::RefuseWhileLoading(data_)) return 0;
  return output::PrintPageCount(output::ViewerPrintInput(data_, static_cast<output::PrintKind>(printKind_), {}));
}

void CChildFrame::PrintPage(QPainter& painter, const QRectF& area, uint32_t page) {
  if (data_.idle.load() == 0) return;  // the samples belong to a running load
  const auto kind = static_cast<output::PrintKind>(printKind_);
  const QImage picture = kind == output::PrintKind::Graph
                             ? PartGraphPicture(formView_->graphPage()->PartGraph(), data_.cursorTool)
                             : QImage();
  const output::PrintInput input = output::ViewerPrintInput(data_, kind, output::PrintTimeNow());
  PaintPrintPage(painter, output::ComposePrintPage(input, page), picture, area);
}

// Every page is composed when it is drawn: nothing is kept between pages.
void CChildFrame::EndPrinting() {}

}  // namespace tessaly::gui
