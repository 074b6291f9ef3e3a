#pragma once
// The printed documents on Qt: what the print view asks of the viewer frame
// that composes them, the drawing of a composed page with QPainter, and the
// document rendered onto a printer or into a PDF file.
#include <QImage>
#include <QRectF>
#include <QString>
#include <cstdint>

#include "output/print_pages.h"

class QPainter;
class QPagedPaintDevice;

namespace tessaly::gui {

class CTChart;

// The viewer frame's side of printing: begin (the page count), one page,
// end. The pages are composed again for every page asked for.
class PrintDocument {
 public:
  virtual ~PrintDocument() = default;
  // The page count, or 0 when nothing can be composed now (a page load owns
  // the samples; the busy message has been shown).
  virtual uint32_t BeginPrinting() = 0;
  // Page `page` (from 1) drawn to fit `area` of the painter; nothing while a
  // page load runs.
  virtual void PrintPage(QPainter& painter, const QRectF& area, uint32_t page) = 0;
  virtual void EndPrinting() = 0;
};

// Draws `page` scaled from the layout's extent to fit `area`, keeping its
// aspect; `picture` fills the picture's place, or, when null, the place stays
// white with a thin frame.
void PaintPrintPage(QPainter& painter, const output::PrintPage& page, const QImage& picture, const QRectF& area);

// The part graph as the printed page shows it: 800 x 500 on white, without
// legend and cursor lines; the chart is left as it was.
QImage PartGraphPicture(CTChart& chart, int cursorTool);

enum class RenderResult { Done, Busy, Failed };

// Every page of the document onto `device` (a printer or a PDF writer), one
// device page each.
RenderResult RenderDocument(PrintDocument& document, QPagedPaintDevice& device);

// The document as an A4-landscape PDF at `path`, written to a temporary name
// and renamed into place.
RenderResult WritePdf(PrintDocument& document, const QString& path);

// A4 landscape, the paper of preview, printer and PDF.
void UsePrintPaper(QPagedPaintDevice& device);

}  // namespace tessaly::gui
