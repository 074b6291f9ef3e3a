#pragma once
// Consecutive record files seen as one timeline. Each file is checked on its
// own as a single file is; the accepted ones are ordered by their first
// calendar-valid time and read as one run of sectors: the first file's
// header block, then every file's data sectors in turn. A single file is a
// set of one and numbers its sectors exactly as the file does.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "record/record_file.h"
#include "record/record_time.h"
#include "record/sector_source.h"
#include "settings/channel_info.h"

namespace tessaly::record {

struct SetMember {
  std::string path;
  uint32_t headerSectors = 0;
  uint32_t dataSectors = 0;
  uint32_t firstSector = 0;  // set sector number of its first data sector
  RecordTime firstTime;      // start of its first calendar-valid sector
  RecordTime lastTime;       // start of its last calendar-valid sector
  int channelCount = 0;
};

enum class SetRefusal {
  OpenFailed,           // missing, unreadable, not a regular file or locked
  NoValidSector,        // no calendar-valid sector where the data begins
  ChannelCountDiffers,  // `count` channels, the set has `expected`
  ChannelNamesDiffer,
  TimesOverlap,  // begins before the last sector of `other` (the file before it)
  TooLarge,      // the set would hold more sectors than it can number
};

struct RefusedFile {
  std::string path;
  SetRefusal reason = SetRefusal::OpenFailed;
  std::string other;
  int count = 0;
  int expected = 0;
};

class RecordSet : public SectorSource {
 public:
  RecordSet() = default;
  RecordSet(const RecordSet&) = delete;
  RecordSet& operator=(const RecordSet&) = delete;

  // Closes the previous set and opens `paths`, each read only under its lock
  // until the next open or close. The channel layout (count and names) that
  // most files share, the earliest file's on a tie, is the set's; files with
  // another layout, or whose times overlap the file before them, are
  // refused and closed. The set's header (device, channel names and units)
  // goes into `header`. Returns the refused files in the order given.
  std::vector<RefusedFile> Open(const std::vector<std::string>& paths, int32_t language,
                                settings::DisplaySettings& header);
  void Close();
  bool IsOpen() const { return !members_.empty(); }

  size_t FileCount() const { return members_.size(); }
  const SetMember& Member(size_t index) const { return members_[index]; }
  uint32_t HeaderSectors() const { return members_.empty() ? 0 : members_.front().headerSectors; }
  uint32_t DataSectors() const;
  int ChannelCount() const { return members_.empty() ? 0 : members_.front().channelCount; }

  // The members [first, last) whose sectors meet `count` sectors from set
  // sector `first`; empty when none do.
  std::pair<size_t, size_t> MembersSpanning(uint32_t first, uint32_t count) const;

  // The name the set goes by: the file's name for one file, else the name
  // the files share without their extensions, else their folder's name.
  std::string Name() const;

  uint32_t SectorCount() const override;
  size_t ReadAt(uint64_t offset, void* buffer, size_t size) const override;
  void Prefetch(uint64_t offset, size_t size) const override;

 private:
  // The member holding set sector `sector`, or FileCount().
  size_t MemberOf(uint64_t sector) const;
  // Calls `piece(file, fileOffset, done, length)` for each run of the `size`
  // bytes at set offset `offset` that lies in one file, in order, while it
  // returns true; `done` is the run's place within the request.
  template <typename Piece>
  void ForEachPiece(uint64_t offset, size_t size, Piece piece) const;

  std::vector<SetMember> members_;
  std::vector<std::unique_ptr<RecordFile>> files_;
};

// The number nn (1 to 99) of a record file's name, which ends in ".Dnn" (any
// letter case) after at least one other character; 0 for any other name.
int RecordFileNumber(std::string_view name);

// The record files of `folder` (names RecordFileNumber accepts), sorted by
// name; nothing when it cannot be read.
std::vector<std::string> RecordFilesInFolder(const std::string& folder);

// Paths as a user names them: a folder stands for its record files; a path
// named twice counts once.
std::vector<std::string> ExpandRecordPaths(const std::vector<std::string>& paths);

// One line naming a refused file and why, in `language`.
std::string RefusalText(const RefusedFile& refused, int32_t language);

}  // namespace tessaly::record
