#include "recorder/record_params.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>

#include "base/format.h"
#include "record/page_index.h"
#include "recorder/recorder_data.h"

namespace tessaly::recorder {

RecordParamsModel::RecordParamsModel(const CRecorderData& data)
    : fileOpen_(data.recordSet.IsOpen()),
      dataSectors_(data.recordSet.DataSectors()),
      pageMode_(data.pageMode),
      sectorsPerPage_(data.sectorsPerPage),
      pageCount_(data.pageCount),
      autoPaging_(data.autoPaging) {
  SelectMode(pageMode_);
  SetAutoPaging(autoPaging_ != 0);
  // The values are shown as "%d", as the stored int32 fields hold them.
  SetSectorsText(base::Format("%d", static_cast<int32_t>(sectorsPerPage_)));
  SetPageCountText(base::Format("%d", static_cast<int32_t>(pageCount_)));
}

void RecordParamsModel::SelectMode(int32_t index) {
  selectedMode_ = index;
  pageMode_ = index;
  ApplyModeRule();
}

void RecordParamsModel::ApplyModeRule() {
  sectorsEnabled_ = pageMode_ == 0;
  pageCountEnabled_ = pageMode_ == 1;
}

void RecordParamsModel::SetAutoPaging(bool checked) {
  autoPaging_ = checked ? 1 : 0;
  if (checked) {
    pageMode_ = 0;
    sectorsPerPage_ = record::kAutoSectorsPerPage;
    modeListEnabled_ = sectorsEnabled_ = pageCountEnabled_ = false;
  } else {
    modeListEnabled_ = sectorsEnabled_ = true;
  }
}

void RecordParamsModel::SetSectorsText(std::string_view text) {
  sectorsText_ = text;
  if (pageMode_ == 0) ApplyEdit(text, sectorsPerPage_, pageCount_, pageCountText_);
}

void RecordParamsModel::SetPageCountText(std::string_view text) {
  pageCountText_ = text;
  if (pageMode_ == 1) ApplyEdit(text, pageCount_, sectorsPerPage_, sectorsText_);
}

void RecordParamsModel::ApplyEdit(std::string_view text, uint32_t& edited, uint32_t& other, std::string& otherText) {
  const int64_t n = LeadingInteger(text);
  if (n <= 0) return;
  edited = static_cast<uint32_t>(n);
  if (!fileOpen_) return;
  other = dataSectors_ / edited;
  otherText = base::Format("%d", static_cast<int32_t>(other));
}

void RecordParamsModel::Accept(CRecorderData& data) const {
  data.pageMode = pageMode_;
  data.sectorsPerPage = sectorsPerPage_;
  data.pageCount = pageCount_;
  data.autoPaging = autoPaging_;
}

int64_t RecordParamsModel::LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  int64_t n = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    n = std::min(kMax + 1, n * 10 + (text[i] - '0'));
  return negative ? -n : std::min(n, kMax);
}

}  // namespace tessaly::recorder
