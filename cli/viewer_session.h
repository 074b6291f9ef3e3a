#pragma once
// What the viewer-side subcommands (pages, csv, xlsx, search, stats) share:
// the paging options, the record file opened as the viewer opens it (through
// BuildPageIndex, so channels the file does not record are hidden), the
// sector range of a page or of --first/--count, and its load through the
// page loader.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "args.h"
#include "base/message_sink.h"
#include "output/export.h"
#include "record/record_time.h"
#include "recorder/recorder_data.h"

namespace tessaly::cli {

// `own` plus the paging options and --lang, and with `range` the options
// that choose the sectors (--page K | --first S --count N).
std::vector<base::OptionSpec> ViewerOptions(std::initializer_list<base::OptionSpec> own, bool range);

// Prints what core says on stderr, "tessaly-cli: TEXT", with the file the
// message is about when one is set.
class StderrSink : public base::MessageSink {
 public:
  void ShowMessage(const std::string& text) override;
  std::string file;
};

// The exit status of an export to `out`, after reporting a failure.
int ReportExport(output::ExportResult result, const std::string& out, int language);

// The option `name` as "YYYY-MM-DD HH:MM:SS" into `out` (none when absent);
// 0, or the status after an invalid value was reported.
int ParseMoment(const base::CommandLine& line, std::string_view name, int language,
                std::optional<record::CalendarFields>& out);

class ViewerSession {
 public:
  ViewerSession();
  ViewerSession(const ViewerSession&) = delete;
  ViewerSession& operator=(const ViewerSession&) = delete;

  // Parses the command line (FILE, --lang, the options). Then each step
  // returns 0 or the exit status after it has printed the reason.
  bool Parse(const std::vector<std::string>& args, std::span<const base::OptionSpec> options);
  // Applies --mode, --sectors-per-page, --page-count and --auto (automatic
  // paging unless --auto 0, or one of the others, asks for fixed paging) and
  // runs BuildPageIndex on FILE.
  int Open();
  // The range of --page K (1-based) or --first S --count N, within the file.
  int Range(uint32_t& first, uint32_t& count) const;
  // Loads the range into data.samples as a page load does; fails when it
  // yields no sample.
  int Load(uint32_t first, uint32_t count);
  // Range and Load.
  int LoadRange();

  const base::CommandLine& line() const { return command_.line; }
  int language() const { return data_.language; }
  recorder::CRecorderData& data() { return data_; }

 private:
  FileCommand command_;
  recorder::CRecorderData data_;
  StderrSink sink_;
};

}  // namespace tessaly::cli
