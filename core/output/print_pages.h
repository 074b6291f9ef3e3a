#pragma once
// The printed part graph and part list as display lists in printer device
// units (x right, y down, origin at the top left of the printable area): what
// the preview, the printer, the PDF and the command line all draw from. The
// part-graph picture is only a rectangle here; the face that owns the chart
// fills it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "record/record_time.h"
#include "record/sample.h"
#include "settings/channel_info.h"

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::output {

// The extent the layout is drawn for: A4 landscape at 600 dots per inch.
// Devices of another size scale it to fit, keeping its aspect.
constexpr int kPrintDotsPerInch = 600;
constexpr int kPrintLayoutWidth = 7016;
constexpr int kPrintLayoutHeight = 4961;

// Font sizes in points.
constexpr int kTitlePoints = 15;
constexpr int kLinePoints = 8;
constexpr int kTablePoints = 7;

enum class PrintKind : int32_t { List = 0, Graph = 1 };

struct PrintText {
  int x = 0, y = 0;  // top left of the text
  int points = 0;
  std::string text;  // UTF-8
  bool operator==(const PrintText&) const = default;
};

struct PrintLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const PrintLine&) const = default;
};

// Filled with `colour` and outlined with the black pen.
struct PrintRect {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  uint32_t colour = 0;  // 0x00BBGGRR
  bool operator==(const PrintRect&) const = default;
};

struct PrintBox {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const PrintBox&) const = default;
};

struct PrintPage {
  std::vector<PrintText> texts;
  std::vector<PrintLine> lines;
  std::vector<PrintRect> rects;
  std::optional<PrintBox> picture;  // where the part-graph picture goes, stretched
};

// Everything a document is made from.
struct PrintInput {
  PrintKind kind = PrintKind::List;
  uint32_t partFirst = 0;     // s
  uint32_t partEnd = 0;       // e, the first point after the window
  uint32_t partInterval = 1;  // st: part point v is sample v x st; 0 counts as 1
  const record::SampleBuffer* samples = nullptr;
  const settings::DisplaySettings* display = nullptr;  // channels, yAxisMode, deviceName
  int language = 0;
  record::CalendarFields printTime{};
};

// The document the viewer's state gives: its part window, samples, display
// settings and language.
PrintInput ViewerPrintInput(const recorder::CRecorderData& data, PrintKind kind,
                            const record::CalendarFields& printTime);

// The moment a document is printed: the computer's local time, or, when
// SOURCE_DATE_EPOCH names one (seconds since 1970), that moment in UTC, so
// that a composition can be reproduced.
record::CalendarFields PrintTimeNow();

// 1 for the graph; for the list ceil((e - s + 4) / 40), or 1 when the window
// holds nothing printable (it ends past the data or starts after its end).
uint32_t PrintPageCount(const PrintInput& input);

// Page `page` (1 to PrintPageCount) of the document.
PrintPage ComposePrintPage(const PrintInput& input, uint32_t page);

}  // namespace tessaly::output
