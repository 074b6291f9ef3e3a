#pragma once
// The desktop program without a window: `tessaly --pdf OUT.pdf --document
// list|graph [--page K] FILE` opens FILE, loads page K (default 1) as a click
// would, composes the document for the part window the graph page then holds
// and writes it as a PDF. Messages go to stderr.
#include <QStringList>

namespace tessaly::recorder {
struct CRecorderData;
}

namespace tessaly::gui {

// True when the program's arguments ask for a PDF.
bool WantsPdf(const QStringList& arguments);

// Runs the export; 0 when the PDF was written, 1 after a message on stderr.
int RunPdfExport(recorder::CRecorderData& data, const QStringList& arguments);

}  // namespace tessaly::gui
