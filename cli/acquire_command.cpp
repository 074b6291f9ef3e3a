// `tessaly-cli acquire (--device PATH | --com N) [options]`: the acquisition
// worker without windows. Log lines go to stdout as the panel would list
// them, messages to stderr; .DT files go into the folder as the page writes
// them. At --count records or on Ctrl-C (SIGINT / SIGTERM) the run stops and
// what the store holds is saved into the current file.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>

#include "args.h"
#include "commands.h"
#include "console_interrupt.h"
#include "realtime/acquisition.h"
#include "realtime/comm_log.h"
#include "realtime/data_file.h"
#include "realtime/page_actions.h"

namespace tessaly::cli {
namespace {

using base::ArgError;
using base::TextId;

constexpr base::OptionSpec kOptions[] = {
    {.name = "--device", .value = "PATH", .help = TextId::HelpOptDevice},
    {.name = "--com", .value = "N", .help = TextId::HelpOptCom},
    {.name = "--baud", .value = "B", .help = TextId::HelpOptBaud, .byDefault = "9600"},
    {.name = "--parity", .value = "none|odd|even", .help = TextId::HelpOptParity, .byDefault = "none"},
    {.name = "--address", .value = "A", .help = TextId::HelpOptAddress, .byDefault = "1"},
    {.name = "--interval", .value = "SECONDS", .help = TextId::HelpOptPollInterval, .byDefault = "1"},
    {.name = "--channels", .value = "N", .help = TextId::HelpOptChannels, .byDefault = "18"},
    {.name = "--folder", .value = "DIR", .help = TextId::HelpOptFolder, .byDefault = "~"},
    {.name = "--count", .value = "N", .help = TextId::HelpOptRecordCount},
    kLanguageOption,
};

// The page of a run without windows. Its calls come from the worker, and
// from the main thread only once the worker has ended.
class ConsolePage : public realtime::AcquisitionPage, public realtime::CommLog {
 public:
  ConsolePage(std::string folder, int64_t count) : folder_(std::move(folder)), count_(count) {}

  realtime::Acquisition* acquisition = nullptr;

  void AddPoint(int series, double, const std::string&, uint32_t) override {
    // Every cycle plots series 0 once.
    if (series == 0 && ++records_ == count_) acquisition->Interrupt();
  }
  void ClearSeries(int) override {}
  int PageCount() override { return 1; }
  void SetCurrentPage(int) override {}
  bool AutoFollow() override { return false; }
  CommLog* Log() override { return this; }
  void AddLine(const std::string& text) override {
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  }
  void ShowMessage(const std::string& text) override { Fail(text); }
  std::string SavePath() override { return savePath_; }
  void SetSavePath(const std::string& path, bool) override { savePath_ = path; }
  std::string ReceiveFolder() override { return folder_; }

 private:
  std::string folder_;
  std::string savePath_;
  int64_t count_;  // 0: until a signal
  int64_t records_ = 0;
};

bool BadValue(ArgError& error, const char* option, const std::string& value) {
  error = {TextId::ArgBadValue, std::string(option) + " " + value};
  return false;
}

struct Run {
  realtime::AcquisitionSettings settings;
  int channels = realtime::kRecordChannels;
  int64_t count = 0;
  std::string folder;
};

bool Understand(const std::vector<std::string>& args, int language, Run& run, ArgError& error) {
  base::CommandLine line;
  if (!line.Parse(args, kOptions, error)) return false;
  if (!line.Positional().empty()) {
    error = {TextId::ArgUnexpected, line.Positional().front()};
    return false;
  }
  realtime::AcquisitionSettings& s = run.settings;
  s.language = language;
  const std::string* device = line.Value("--device");
  if (device && line.Has("--com")) return BadValue(error, "--com", *line.Value("--com"));
  if (!device && !line.Require("--com", error)) return false;
  if (device && device->empty()) return BadValue(error, "--device", "''");  // not the COM port
  if (device) s.devicePath = *device;
  s.deviceAddress = 1;
  if (!line.Integer("--com", 1, 255, s.comPort, error) || !line.Integer("--baud", 1, 4'000'000, s.baudRate, error) ||
      !line.Integer("--address", 0, 255, s.deviceAddress, error) ||
      !line.Integer("--channels", 1, realtime::kRecordChannels, run.channels, error) ||
      !line.Integer<int64_t>("--count", 1, INT64_MAX, run.count, error))
    return false;
  if (const std::string* parity = line.Value("--parity")) {
    static constexpr const char* kParities[] = {"none", "odd", "even"};
    s.parity = -1;
    for (int i = 0; i < 3; ++i)
      if (*parity == kParities[i]) s.parity = i;
    if (s.parity < 0) return BadValue(error, "--parity", *parity);
  }
  s.pollIntervalMs = 1000;
  if (const std::string* interval = line.Value("--interval")) {
    const std::optional<double> seconds = base::ParseNumber(*interval);
    if (!seconds || *seconds < 0 || *seconds > INT32_MAX / 1000) return BadValue(error, "--interval", *interval);
    s.pollIntervalMs = static_cast<int>(*seconds * 1000);
  }
  run.folder = line.Value("--folder") ? *line.Value("--folder") : realtime::DefaultReceiveFolder();
  if (!run.folder.empty() && run.folder.back() != '/') run.folder += '/';
  return true;
}

// Waits for the worker to end, passing an interrupt on to it.
void WaitForWorker(realtime::Acquisition& acquisition, ConsoleInterrupt& interrupt) {
  while (acquisition.idle.load() == 0)
    if (interrupt.Wait(100)) acquisition.Interrupt();
  acquisition.Join();
}

}  // namespace

std::span<const base::OptionSpec> AcquireOptions() { return kOptions; }

int RunAcquire(const std::vector<std::string>& args) {
  const int language = base::LanguageOption(args);
  Run run;
  ArgError error;
  if (!Understand(args, language, run, error)) return Fail(error, language);

  ConsolePage page(run.folder, run.count);
  realtime::Acquisition acquisition(page);
  page.acquisition = &acquisition;
  // As the panel's Start: a fresh file in the device folder.
  page.SetSavePath(realtime::StartSavePath(run.folder, run.settings.deviceAddress, realtime::LocalNow().Fields()),
                   true);
  acquisition.channelCount = run.channels;
  // Before the port: a run whose first save would fail must not poll first.
  if (!realtime::DataFolderWritable(page.SavePath()))
    return Fail(Message(TextId::DataFolderUnwritable, language, run.folder.c_str()));

  ConsoleInterrupt interrupt;  // before the worker exists
  acquisition.Start(run.settings);
  WaitForWorker(acquisition, interrupt);

  if (acquisition.LastEnd() != realtime::AcquisitionEnd::Stopped) return kFailureStatus;
  if (acquisition.records.Size() > 0 && !realtime::ManualSave(page, acquisition.records)) return kFailureStatus;
  return 0;
}

}  // namespace tessaly::cli
