#pragma once
// Opening the chosen record files as a set and dividing it into pages.

namespace tessaly::recorder {

struct CRecorderData;

// Closes the previous set, opens `data.recordPaths` as a record set, takes its
// header, hides the channels it does not record and builds `data.pages`.
// Refused files are named, with the reason, in one error message; when none
// opens it returns false (a single file that fails shows just "文件打开失败" /
// "Failed to open file"). While a load runs (`idle` 0) it changes nothing,
// shows the busy message and returns false.
bool BuildPageIndex(CRecorderData& data);

}  // namespace tessaly::recorder
