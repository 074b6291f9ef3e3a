#pragma once
// Progress of the list and graph fills and of the exporters: step i of n
// done. The main window shows it in its second progress bar.

namespace tessaly::gui {

class FillProgressSink {
 public:
  virtual ~FillProgressSink() = default;
  virtual void ReportFillProgress(unsigned step, unsigned steps) = 0;
};

}  // namespace tessaly::gui
