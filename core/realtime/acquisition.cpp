#include "realtime/acquisition.h"

#include <algorithm>
#include <chrono>

#include "base/texts.h"
#include "realtime/data_file.h"
#include "realtime/device.h"
#include "realtime/serial.h"
#include "recorder/recorder_data.h"

namespace tessaly::realtime {

using base::Text;
using base::TextId;

AcquisitionSettings AcquisitionSettings::From(const recorder::CRecorderData& data) {
  static constexpr int kBaudRates[] = {2400, 4800, 9600, 19200, 38400};
  AcquisitionSettings s;
  s.comPort = data.comPort;
  s.baudRate = data.baudIndex >= 0 && data.baudIndex < 5 ? kBaudRates[data.baudIndex] : 9600;
  s.parity = data.parityIndex == 1 || data.parityIndex == 2 ? data.parityIndex : 0;
  s.deviceAddress = data.deviceAddress;
  s.pollIntervalMs = data.pollIntervalMs;
  s.language = data.language;
  for (int i = 0; i < kRecordChannels; ++i) s.colors[i] = data.channels[i].color;
  return s;
}

Acquisition::Acquisition(AcquisitionPage& page) : page_(page) {}

Acquisition::~Acquisition() {
  Interrupt();
  Join();
}

bool Acquisition::Start(const AcquisitionSettings& settings) {
  if (idle.load() != 1) {
    page_.ShowMessage(Text(TextId::ServerBusyRetry, settings.language));
    return false;
  }
  // A worker that ended by itself has nothing left to do but return.
  Join();
  {
    std::lock_guard lock(pauseMutex_);
    interrupted_ = false;
  }
  // Set here rather than by the worker, so a second Start cannot slip in
  // before the worker has begun.
  running = 1;
  idle = 0;
  thread_ = std::thread([this, settings] { Run(settings); });
  return true;
}

void Acquisition::Stop() { running = 0; }

void Acquisition::Interrupt() {
  {
    std::lock_guard lock(pauseMutex_);
    interrupted_ = true;
  }
  running = 0;
  pauseWake_.notify_all();
}

void Acquisition::Join() {
  if (thread_.joinable()) thread_.join();
}

void Acquisition::Run(const AcquisitionSettings& settings) {
  lastEnd_ = AcquisitionThread(settings);
  running = 0;
  idle = 1;
}

AcquisitionEnd Acquisition::AcquisitionThread(const AcquisitionSettings& s) {
  CSerial port;
  constexpr int kDataBits = 8, kOneStopBit = 0;
  const int opened = s.devicePath.empty() ? port.OpenComPort(s.comPort, s.baudRate, kDataBits, s.parity, kOneStopBit)
                                          : port.OpenPort(s.devicePath, s.baudRate, kDataBits, s.parity, kOneStopBit);
  if (!opened) {
    page_.ShowMessage(Text(TextId::PortInitFailure, s.language));
    return AcquisitionEnd::PortFailed;
  }
  CCorvane device(s.deviceAddress, &port, page_.Log(), s.language);
  float syncValue = 0;
  if (device.ReadSyncValue(syncValue) != kSuccess) {
    page_.ShowMessage(Text(TextId::SyncFailure, s.language));
    return AcquisitionEnd::SyncFailed;
  }
  device.channelCount = channelCount.load();
  const int channels = device.Channels();
  // Until the first good read, and after a failed one, the record carries
  // the values read last (zero at first).
  float values[kMaxChannels] = {};
  while (running.load() == 1) {
    const record::RecordTime now = LocalNow();
    const std::string label = PointLabel(now.Fields());
    device.ReadChannels(values);
    RealtimeRecord record = StampedRecord(now);
    for (int i = 0; i < channels; ++i) {
      page_.AddPoint(i, values[i], label, s.colors[i]);
      record.values[i] = values[i];
    }
    records.Append(record);
    if (page_.AutoFollow()) page_.SetCurrentPage(page_.PageCount());
    if (records.Size() >= kRotationRecords && !Rotate(s, channels)) return AcquisitionEnd::RotationFailed;
    Pause(s.pollIntervalMs);
  }
  return AcquisitionEnd::Stopped;
}

bool Acquisition::Rotate(const AcquisitionSettings& s, int channels) {
  const std::string path = page_.SavePath();
  if (!HasDataExtension(path)) {
    page_.ShowMessage(Text(TextId::DataFileFormatError, s.language));
    return false;
  }
  if (!records.SaveAndClear(path)) {
    page_.ShowMessage(Text(TextId::OpenSaveFileError, s.language));
    return false;
  }
  for (int i = 0; i < channels; ++i) page_.ClearSeries(i);
  page_.SetSavePath(RotationSavePath(page_.ReceiveFolder(), s.deviceAddress, s.language, LocalNow().Fields()), false);
  return true;
}

void Acquisition::Pause(int ms) {
  std::unique_lock lock(pauseMutex_);
  pauseWake_.wait_for(lock, std::chrono::milliseconds(std::max(ms, 0)), [this] { return interrupted_; });
}

}  // namespace tessaly::realtime
