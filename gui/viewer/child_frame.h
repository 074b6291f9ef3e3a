#pragma once
// The record viewer: the tabbed area (graph and list pages) and the page tree
// side by side in a splitter (85 % / 15 %). The tree lists the pages of the
// open record set and the kept search results; a click on an entry's label
// loads it in the background. The viewer handles the commands of its menu.
#include <QWidget>
#include <cstdint>
#include <string>

#include "app/command_ids.h"
#include "output/print_document.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

class CMainFrame;
class CMyFormView;
class SplitterCtrl;

// Where page-tree items keep their item data (record::SearchedItemBase).
constexpr int kItemDataRole = Qt::UserRole;

class CChildFrame : public QWidget, public PrintDocument {
  Q_OBJECT
 public:
  explicit CChildFrame(CMainFrame& mainFrame, QWidget* parent = nullptr);

  // The file dialog (several files may be chosen: they open as one set),
  // then the rebuild; Cancel closes the viewer.
  void OpenRecordFile();
  // The folder dialog: every record file of the folder opens as one set.
  void OpenRecordFolder();
  // Opens `paths` (record files, folders standing for theirs) as one record
  // set, as if they had been chosen in the file dialog.
  void OpenRecordPaths(const QStringList& paths);
  // Builds the page index and lists it under a new paging root; refused with
  // the busy message while a load runs, left as it was when the index fails
  // (false).
  bool RebuildPageTree();
  // A click at `pos` (tree viewport coordinates): loads the entry whose label
  // or icon is hit.
  void OnPageTreeClick(const QPoint& pos);

  void FillList();
  void FillAllGraph();
  void FillPartGraph();
  // Empties both pages: nothing loaded is on show.
  void ClearPages();
  // The window title: the open record set's name and the label of the page
  // loaded, if any.
  void ShowTitle(const std::string& pageLabel);

  // Runs a command of the viewer's menu; false for commands it does not handle.
  bool OnCommand(Command command);

  // Closed windows are never drawn into, even before they are deleted.
  bool IsClosed() const { return closed_; }

  SplitterCtrl* splitter() const { return splitter_; }
  CMyFormView* formView() const { return formView_; }
  QTreeWidget* pageTree() const { return pageTree_; }
  QTreeWidgetItem* pagingRoot() const { return pagingRoot_; }
  QTreeWidgetItem* searchedRoot() const { return searchedRoot_; }
  int32_t printKind() const { return printKind_; }
  // 1 the part graph, 0 the part list: the document the print handlers compose.
  void SetPrintKind(int32_t printKind) { printKind_ = printKind; }

  // The printed part graph or part list, for the print view.
  uint32_t BeginPrinting() override;
  void PrintPage(QPainter& painter, const QRectF& area, uint32_t page) override;
  void EndPrinting() override;

  // Where the label and icon of `item` are drawn, in viewport coordinates.
  QRect LabelRect(const QTreeWidgetItem* item) const;

 signals:
  // The window was closed (it is deleted later).
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTreeWidgetItem* AddRoot(const char* text);
  void CloseWindow();
  void OnClose();
  void OnRecordReadParams();
  void OnShowParams();
  void OnSearchByTime();
  void OnRangeStatistics();
  void OnCursorStatistics();
  void OnExport(Command command);
  void OnPreview(int32_t printKind);

  CMainFrame& main_;
  recorder::CRecorderData& data_;
  SplitterCtrl* splitter_;
  CMyFormView* formView_;
  QTreeWidget* pageTree_;
  QTreeWidgetItem* pagingRoot_ = nullptr;
  QTreeWidgetItem* searchedRoot_ = nullptr;
  int32_t printKind_ = 0;
  uint64_t treeGeneration_ = 0;  // page-index generation the page items belong to
  bool closed_ = false;
};

}  // namespace tessaly::gui
