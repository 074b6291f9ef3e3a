#include "recorder/page_loader.h"

#include "base/texts.h"
#include "record/sector_range.h"
#include "recorder/recorder_data.h"

namespace tessaly::recorder {
namespace {

// Progress goes out for the first and the last sector and every 300th, as
// each report is a synchronous round trip to the UI thread.
constexpr uint32_t kProgressStep = 300;

}  // namespace

bool RefuseWhileLoading(const CRecorderData& data) {
  if (data.idle.load() != 0) return false;
  data.ShowMessage(base::Text(base::TextId::ServerBusyRetry, data.language));
  return true;
}

PageLoader::PageLoader(CRecorderData& data, LoaderHost& host) : data_(data), host_(host) {}

PageLoader::~PageLoader() { Join(); }

bool PageLoader::StartPageLoad(uint32_t first, uint32_t count) {
  uint8_t expected = 1;
  if (!data_.idle.compare_exchange_strong(expected, 0)) {
    data_.ShowMessage(base::Text(base::TextId::ServerBusyRetry, data_.language));
    return false;
  }
  // idle was 1, so a previous thread has done its last action and only has
  // to be reaped.
  Join();
  data_.loadFirst = first;
  data_.loadCount = count;
  thread_ = std::thread(&PageLoader::Run, this);
  return true;
}

void PageLoader::Join() {
  if (thread_.joinable()) thread_.join();
}

void PageLoader::Run() {
  data_.loadTotal = data_.loadCount;
  data_.idle = 0;
  data_.running = 1;
  const uint32_t count = data_.loadCount;
  uint32_t reported = count;  // none yet
  // `running` is looked at before every sector, the first one included.
  const auto visit = [&](uint32_t i, bool decoded) {
    if (decoded && (i == 0 || i == count - 1 || i % kProgressStep == 0)) {
      host_.ReportLoadProgress(i);
      reported = i;
    }
    return data_.running == 1;
  };
  data_.loadCut = false;
  if (data_.running == 1) {
    data_.loadCut = record::DecodeSectorRange(data_.recordSet, data_.loadFirst, count, data_.samples, visit).bufferFull;
    // A load that was not stopped ends at 100 %, also when the sample limit
    // or skipped sectors at its end left the last report out.
    if (data_.running == 1 && count > 0 && reported != count - 1) host_.ReportLoadProgress(count - 1);
  } else {
    data_.samples.clear();
  }

  host_.FillList();
  host_.FillAllGraph();
  host_.FillPartGraph();
  data_.running = 0;
  data_.idle = 1;
}

}  // namespace tessaly::recorder
