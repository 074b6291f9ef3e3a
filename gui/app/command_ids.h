#pragma once
// Command ids of the menus and the tool bar. Menu and tool-bar actions carry
// them as their data, so routing and tests find an action by its command.

namespace tessaly::gui {

enum class Command : int {
  // Main menu and record viewer menu.
  FileOpen = 57601,
  FileClose = 57602,
  FileOpenFolder = 32803,
  AppExit = 57665,
  AppAbout = 57664,
  RealtimeCollection = 32802,
  ShowParams = 32774,
  RecordReadParams = 32776,
  LanguageChinese = 32811,
  LanguageEnglish = 32812,
  // Record viewer menu only.
  SearchByTime = 32779,
  RangeStatistics = 32782,
  ExportXls = 32785,
  ExportCsv = 32817,
  PreviewPartGraph = 32795,
  PreviewPartList = 32799,
  // Measurement cursors of the part graph.
  CursorStatistics = 32840,
  // Print preview tool bar.
  PreviewClose = 58112,
  PreviewTwoPages = 58113,
  PreviewNext = 58114,
  PreviewPrevious = 58115,
  PreviewPrint = 58116,
  PreviewZoomIn = 58117,
  PreviewZoomOut = 58118,
  PreviewPdf = 58119,
};

}  // namespace tessaly::gui
