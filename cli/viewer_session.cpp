#include "viewer_session.h"

#include <cstdio>

#include "record/page_index.h"
#include "recorder/build_page_index.h"
#include "recorder/page_loader.h"
#include "settings/settings_file.h"

namespace tessaly::cli {
namespace {

using base::TextId;

constexpr base::OptionSpec kPagingOptions[] = {
    {.name = "--mode", .value = "0|1", .help = TextId::HelpOptMode, .byDefault = "0"},
    {.name = "--sectors-per-page", .value = "N", .help = TextId::HelpOptSectorsPerPage, .byDefault = "1024"},
    {.name = "--page-count", .value = "N", .help = TextId::HelpOptPageCount, .byDefault = "10"},
    {.name = "--auto", .value = "0|1", .help = TextId::HelpOptAuto, .byDefault = "1"},
};
constexpr base::OptionSpec kRangeOptions[] = {
    {.name = "--page", .value = "K", .help = TextId::HelpOptPage},
    {.name = "--first", .value = "S", .help = TextId::HelpOptFirst},
    {.name = "--count", .value = "N", .help = TextId::HelpOptCount},
};

// The command line has no views: the hand-off has nothing to fill.
class NoViews : public recorder::LoaderHost {
 public:
  void ReportLoadProgress(uint32_t) override {}
  void FillList() override {}
  void FillAllGraph() override {}
  void FillPartGraph() override {}
};

}  // namespace

std::vector<base::OptionSpec> ViewerOptions(std::initializer_list<base::OptionSpec> own, bool range) {
  std::vector<base::OptionSpec> options(own);
  options.insert(options.end(), std::begin(kPagingOptions), std::end(kPagingOptions));
  if (range) options.insert(options.end(), std::begin(kRangeOptions), std::end(kRangeOptions));
  options.push_back(kLanguageOption);
  return options;
}

void StderrSink::ShowMessage(const std::string& text) { Fail(file.empty() ? text : text + ": " + file); }

int ReportExport(output::ExportResult result, const std::string& out, int language) {
  switch (result) {
    case output::ExportResult::Written:
    case output::ExportResult::NothingToWrite: return 0;
    case output::ExportResult::OpenFailed:
      return Fail(base::Format("%s: %s", base::Text(base::TextId::FileOpenFailed, language), out.c_str()));
    case output::ExportResult::WriteFailed: break;
  }
  return Fail(Message(base::TextId::WriteFailed, language, out.c_str()));
}

int ParseMoment(const base::CommandLine& line, std::string_view name, int language,
                std::optional<record::CalendarFields>& out) {
  out.reset();
  const std::string* text = line.Value(name);
  if (!text) return 0;
  out = record::ParseCalendarText(*text);
  if (!out) return Fail({base::TextId::ArgBadValue, std::string(name) + " " + *text}, language);
  return 0;
}

ViewerSession::ViewerSession() {
  settings::ApplyDefaultSettings(data_);
  data_.messages = &sink_;
}

bool ViewerSession::Parse(const std::vector<std::string>& args, std::span<const base::OptionSpec> options) {
  std::optional<FileCommand> command = ParseFileCommand(args, options, FileArgs::RecordSet);
  if (!command) return false;
  command_ = std::move(*command);
  data_.language = command_.language;
  return true;
}

int ViewerSession::Open() {
  base::ArgError error;
  int32_t mode = 0, autoPaging = 1;
  uint32_t perPage = record::kAutoSectorsPerPage, pages = 10;
  if (!command_.line.Integer<int32_t>("--mode", 0, 1, mode, error) ||
      !command_.line.Integer<uint32_t>("--sectors-per-page", 1, UINT32_MAX, perPage, error) ||
      !command_.line.Integer<uint32_t>("--page-count", 1, UINT32_MAX, pages, error) ||
      !command_.line.Integer<int32_t>("--auto", 0, 1, autoPaging, error))
    return Fail(error, language());
  // Asking for a mode or a size means fixed paging, unless --auto says otherwise.
  if (!command_.line.Has("--auto") &&
      (command_.line.Has("--mode") || command_.line.Has("--sectors-per-page") || command_.line.Has("--page-count")))
    autoPaging = 0;
  data_.pageMode = mode;
  data_.sectorsPerPage = perPage;
  data_.pageCount = pages;
  data_.autoPaging = autoPaging;
  if (!HasRecordFiles(command_)) return kFailureStatus;
  data_.recordPaths = command_.paths;
  // Messages about a set name their files themselves.
  if (command_.paths.size() == 1) sink_.file = command_.paths.front();
  const bool opened = recorder::BuildPageIndex(data_);
  sink_.file.clear();
  return opened ? 0 : kFailureStatus;
}

int ViewerSession::Range(uint32_t& first, uint32_t& count) const {
  base::ArgError error;
  if (command_.line.Has("--page")) {
    if (command_.line.Has("--first") || command_.line.Has("--count"))
      return Fail({base::TextId::ArgUnexpected, command_.line.Has("--first") ? "--first" : "--count"}, language());
    uint32_t page = 0;
    if (!command_.line.Integer<uint32_t>("--page", 1, UINT32_MAX, page, error)) return Fail(error, language());
    if (page > data_.pages.size())
      return Fail(Message(base::TextId::CliNoSuchPage, language(), page, static_cast<unsigned>(data_.pages.size())));
    first = data_.pages[page - 1].firstSector;
    count = data_.pages[page - 1].sectorCount;
    return 0;
  }
  if (!command_.line.Require("--first", error) || !command_.line.Require("--count", error) ||
      !command_.line.Integer<uint32_t>("--first", 0, UINT32_MAX, first, error) ||
      !command_.line.Integer<uint32_t>("--count", 1, UINT32_MAX, count, error))
    return Fail(error, language());
  const uint32_t sectors = data_.recordSet.SectorCount();
  if (uint64_t{first} + count > sectors)
    return Fail(Message(base::TextId::CliRangeBeyondFile, language(), static_cast<unsigned long long>(first),
                        static_cast<unsigned long long>(uint64_t{first} + count - 1),
                        static_cast<unsigned long long>(sectors)));
  return 0;
}

int ViewerSession::Load(uint32_t first, uint32_t count) {
  NoViews views;
  recorder::PageLoader loader(data_, views);
  if (!loader.StartPageLoad(first, count)) return kFailureStatus;
  loader.Join();
  if (data_.samples.empty()) return Fail(Message(base::TextId::CliNoSamples, language()));
  return 0;
}

int ViewerSession::LoadRange() {
  uint32_t first = 0, count = 0;
  if (const int status = Range(first, count)) return status;
  return Load(first, count);
}

}  // namespace tessaly::cli
