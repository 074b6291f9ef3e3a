#pragma once
// The record-reading parameters dialog without its window: the copy of the
// four paging values it edits, which controls are enabled, and what the two
// edits show. The dialog forwards the user's changes and shows the result.
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly::recorder {

struct CRecorderData;

class RecordParamsModel {
 public:
  // The opening: copies the values, selects the stored mode and applies the
  // mode rule, sets the check box and applies the automatic rule, then shows
  // sectorsPerPage and pageCount, which recomputes the dependent value when
  // a record file is open.
  explicit RecordParamsModel(const CRecorderData& data);

  // A new selection in the mode list (index = mode).
  void SelectMode(int32_t index);
  // A click of the automatic-paging check box.
  void SetAutoPaging(bool checked);
  // The text of the sectors-per-page edit (1021) or of the page-count edit
  // (1023) changed; only the leading integer counts, and only when positive.
  void SetSectorsText(std::string_view text);
  void SetPageCountText(std::string_view text);

  // OK: the four values go back to the settings. (Cancel drops the model.)
  void Accept(CRecorderData& data) const;

  int32_t pageMode() const { return pageMode_; }
  uint32_t sectorsPerPage() const { return sectorsPerPage_; }
  uint32_t pageCount() const { return pageCount_; }
  int32_t autoPaging() const { return autoPaging_; }

  int32_t selectedMode() const { return selectedMode_; }  // the list's visible selection
  bool autoChecked() const { return autoPaging_ != 0; }
  bool modeListEnabled() const { return modeListEnabled_; }
  bool sectorsEnabled() const { return sectorsEnabled_; }
  bool pageCountEnabled() const { return pageCountEnabled_; }
  const std::string& sectorsText() const { return sectorsText_; }
  const std::string& pageCountText() const { return pageCountText_; }

  // The leading integer of a text as the edits read it: leading white space
  // and a sign are taken, digits up to the first other character; 0 when
  // there are none. Saturates at the int32 range.
  static int64_t LeadingInteger(std::string_view text);

 private:
  void ApplyModeRule();
  // A positive leading integer of `text` becomes `edited`; with a file open
  // the other value is dataSectors / edited and shown in `otherText`.
  void ApplyEdit(std::string_view text, uint32_t& edited, uint32_t& other, std::string& otherText);

  bool fileOpen_;
  uint32_t dataSectors_;
  int32_t pageMode_;
  uint32_t sectorsPerPage_;
  uint32_t pageCount_;
  int32_t autoPaging_;
  int32_t selectedMode_ = 0;
  bool modeListEnabled_ = true;
  bool sectorsEnabled_ = true;
  bool pageCountEnabled_ = true;
  std::string sectorsText_;
  std::string pageCountText_;
};

}  // namespace tessaly::recorder
