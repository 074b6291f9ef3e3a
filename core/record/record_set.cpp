#include "record/record_set.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "base/format.h"
#include "base/fs_path.h"
#include "base/texts.h"
#include "record/record_header.h"
#include "record/sector.h"

namespace tessaly::record {
namespace {

namespace fs = std::filesystem;

struct Candidate {
  SetMember member;
  std::unique_ptr<RecordFile> file;
  settings::DisplaySettings header{};
  size_t given = 0;
};

// The start of the last calendar-valid sector at or after `from` (which is one).
RecordTime LastCalendarValidTime(const RecordFile& file, uint32_t from) {
  unsigned char sector[kSectorSize];
  RecordTime time;
  for (uint32_t s = file.SectorCount(); s-- > from;)
    if (file.ReadSector(s, sector) && SectorCalendarValid(sector, &time)) return time;
  return time;
}

bool SameLayout(const Candidate& a, const Candidate& b) {
  if (a.member.channelCount != b.member.channelCount) return false;
  const int shared = std::min(a.member.channelCount, settings::kChannels);
  for (int k = 0; k < shared; ++k)
    if (std::strcmp(a.header.channels[k].name, b.header.channels[k].name) != 0) return false;
  return true;
}

// The candidate whose layout most candidates share; the earliest on a tie
// (candidates come in time order).
size_t ReferenceLayout(const std::vector<Candidate>& candidates) {
  size_t best = 0;
  size_t bestShare = 0;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const size_t share = static_cast<size_t>(std::count_if(
        candidates.begin(), candidates.end(), [&](const Candidate& c) { return SameLayout(c, candidates[i]); }));
    if (share > bestShare) {
      best = i;
      bestShare = share;
    }
  }
  return best;
}

RefusedFile Refusal(const std::string& path, SetRefusal reason) {
  RefusedFile refused;
  refused.path = path;
  refused.reason = reason;
  return refused;
}

std::string Stem(const std::string& path) { return base::Utf8Path(base::FsPath(path).stem()); }

}  // namespace

std::vector<RefusedFile> RecordSet::Open(const std::vector<std::string>& paths, int32_t language,
                                         settings::DisplaySettings& header) {
  Close();
  std::vector<RefusedFile> refused;
  std::vector<Candidate> candidates;
  for (size_t i = 0; i < paths.size(); ++i) {
    Candidate c;
    c.given = i;
    c.member.path = paths[i];
    c.file = std::make_unique<RecordFile>();
    if (!c.file->Open(paths[i])) {
      refused.push_back(Refusal(paths[i], SetRefusal::OpenFailed));
      continue;
    }
    c.member.headerSectors = ReadRecordHeader(*c.file, c.header, language);
    unsigned char sector[kSectorSize];
    const std::optional<uint32_t> first = FindCalendarValidSector(*c.file, c.member.headerSectors, sector);
    if (!first) {
      refused.push_back(Refusal(paths[i], SetRefusal::NoValidSector));
      continue;
    }
    SectorCalendarValid(sector, &c.member.firstTime);
    c.member.channelCount = sector[9];
    c.member.lastTime = LastCalendarValidTime(*c.file, *first);
    const uint32_t sectors = c.file->SectorCount();
    c.member.dataSectors = sectors - std::min(sectors, c.member.headerSectors);
    candidates.push_back(std::move(c));
  }
  std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.member.firstTime.ticks < b.member.firstTime.ticks;
  });

  if (!candidates.empty()) {
    const Candidate& reference = candidates[ReferenceLayout(candidates)];
    std::memcpy(header.deviceName, reference.header.deviceName, sizeof header.deviceName);
    for (int k = 0; k < settings::kChannels; ++k) {
      std::memcpy(header.channels[k].name, reference.header.channels[k].name, sizeof header.channels[k].name);
      std::memcpy(header.channels[k].unit, reference.header.channels[k].unit, sizeof header.channels[k].unit);
    }
    uint64_t next = 0;
    for (Candidate& c : candidates) {
      SetMember& m = c.member;
      RefusedFile refusal = Refusal(m.path, SetRefusal::TooLarge);
      if (m.channelCount != reference.member.channelCount) {
        refusal.reason = SetRefusal::ChannelCountDiffers;
        refusal.count = m.channelCount;
        refusal.expected = reference.member.channelCount;
      } else if (!SameLayout(c, reference)) {
        refusal.reason = SetRefusal::ChannelNamesDiffer;
      } else if (!members_.empty() && m.firstTime.ticks < members_.back().lastTime.ticks) {
        refusal.reason = SetRefusal::TimesOverlap;
        refusal.other = members_.back().path;
      } else {
        m.firstSector = members_.empty() ? m.headerSectors : static_cast<uint32_t>(next);
        if (uint64_t{m.firstSector} + m.dataSectors <= std::numeric_limits<uint32_t>::max()) {
          next = uint64_t{m.firstSector} + m.dataSectors;
          members_.push_back(m);
          files_.push_back(std::move(c.file));
          continue;
        }
      }
      refused.push_back(refusal);
    }
  }
  // Refusals in the order the paths were given, so a message reads like the request.
  std::stable_sort(refused.begin(), refused.end(), [&](const RefusedFile& a, const RefusedFile& b) {
    return std::find(paths.begin(), paths.end(), a.path) < std::find(paths.begin(), paths.end(), b.path);
  });
  return refused;
}

void RecordSet::Close() {
  files_.clear();  // each closes and unlocks its file
  members_.clear();
}

uint32_t RecordSet::DataSectors() const {
  uint32_t total = 0;
  for (const SetMember& m : members_) total += m.dataSectors;  // Open keeps the sum within range
  return total;
}

uint32_t RecordSet::SectorCount() const {
  return members_.empty() ? 0 : members_.back().firstSector + members_.back().dataSectors;
}

size_t RecordSet::MemberOf(uint64_t sector) const {
  const auto after = std::upper_bound(members_.begin(), members_.end(), sector, [](uint64_t s, const SetMember& m) {
    return s < uint64_t{m.firstSector} + m.dataSectors;
  });
  return static_cast<size_t>(after - members_.begin());
}

std::pair<size_t, size_t> RecordSet::MembersSpanning(uint32_t first, uint32_t count) const {
  if (count == 0 || first >= SectorCount()) return {0, 0};
  const uint64_t last = std::min<uint64_t>(uint64_t{first} + count, SectorCount()) - 1;
  return {MemberOf(first), MemberOf(last) + 1};
}

template <typename Piece>
void RecordSet::ForEachPiece(uint64_t offset, size_t size, Piece piece) const {
  for (size_t done = 0; done < size;) {
    const uint64_t at = offset + done;
    const size_t index = MemberOf(at / kSectorSize);
    if (index >= members_.size()) return;
    const SetMember& m = members_[index];
    const uint64_t end = (uint64_t{m.firstSector} + m.dataSectors) * kSectorSize;
    // The first member is read from its own offset 0 on, header block included.
    const uint64_t fileAt = at - uint64_t{m.firstSector} * kSectorSize + uint64_t{m.headerSectors} * kSectorSize;
    const size_t length = static_cast<size_t>(std::min<uint64_t>(size - done, end - at));
    if (!piece(*files_[index], fileAt, done, length)) return;
    done += length;
  }
}

size_t RecordSet::ReadAt(uint64_t offset, void* buffer, size_t size) const {
  auto* out = static_cast<unsigned char*>(buffer);
  size_t total = 0;
  ForEachPiece(offset, size, [&](const RecordFile& file, uint64_t fileAt, size_t done, size_t length) {
    const size_t got = file.ReadAt(fileAt, out + done, length);
    total += got;
    return got == length;
  });
  return total;
}

void RecordSet::Prefetch(uint64_t offset, size_t size) const {
  ForEachPiece(offset, size, [](const RecordFile& file, uint64_t fileAt, size_t, size_t length) {
    file.Prefetch(fileAt, length);
    return true;
  });
}

std::string RecordSet::Name() const {
  if (members_.empty()) return {};
  if (members_.size() == 1) return base::Utf8Path(base::FsPath(members_.front().path).filename());
  const std::string stem = Stem(members_.front().path);
  const auto sameStem = [&](const SetMember& m) { return Stem(m.path) == stem; };
  if (std::all_of(members_.begin(), members_.end(), sameStem)) return stem;
  return base::Utf8Path(fs::absolute(base::FsPath(members_.front().path)).parent_path().filename());
}

int RecordFileNumber(std::string_view name) {
  const size_t n = name.size();
  if (n < 5 || name[n - 4] != '.' || std::toupper(static_cast<unsigned char>(name[n - 3])) != 'D' ||
      !std::isdigit(static_cast<unsigned char>(name[n - 2])) || !std::isdigit(static_cast<unsigned char>(name[n - 1])))
    return 0;
  return (name[n - 2] - '0') * 10 + (name[n - 1] - '0');
}

std::vector<std::string> RecordFilesInFolder(const std::string& folder) {
  std::vector<std::string> found;
  std::error_code error;
  for (fs::directory_iterator it(base::FsPath(folder), error), end; !error && it != end; it.increment(error)) {
    const std::string name = base::Utf8Path(it->path().filename());
    if (RecordFileNumber(name) == 0) continue;
    std::error_code typeError;
    // Joined with '/' as every path inside the program is.
    if (it->is_regular_file(typeError)) found.push_back(folder + (folder.back() == '/' ? "" : "/") + name);
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<std::string> ExpandRecordPaths(const std::vector<std::string>& paths) {
  std::vector<std::string> expanded;
  const auto add = [&](const std::string& path) {
    if (std::find(expanded.begin(), expanded.end(), path) == expanded.end()) expanded.push_back(path);
  };
  for (const std::string& path : paths) {
    std::error_code error;
    if (fs::is_directory(base::FsPath(path), error)) {
      for (const std::string& file : RecordFilesInFolder(path)) add(file);
    } else {
      add(path);
    }
  }
  return expanded;
}

std::string RefusalText(const RefusedFile& refused, int32_t language) {
  using base::TextId;
  const std::string name = base::Utf8Path(base::FsPath(refused.path).filename());
  switch (refused.reason) {
    case SetRefusal::OpenFailed: return base::FormatText(base::Text(TextId::SetFileOpenFailed, language), name.c_str());
    case SetRefusal::NoValidSector:
      return base::FormatText(base::Text(TextId::SetFileNoValidSector, language), name.c_str());
    case SetRefusal::ChannelCountDiffers:
      return base::FormatText(base::Text(TextId::SetFileChannelCount, language), name.c_str(), refused.count,
                              refused.expected);
    case SetRefusal::ChannelNamesDiffer:
      return base::FormatText(base::Text(TextId::SetFileChannelNames, language), name.c_str());
    case SetRefusal::TimesOverlap:
      return base::FormatText(base::Text(TextId::SetFileOverlap, language), name.c_str(),
                              base::Utf8Path(base::FsPath(refused.other).filename()).c_str());
    case SetRefusal::TooLarge: return base::FormatText(base::Text(TextId::SetFileTooLarge, language), name.c_str());
  }
  return name;
}

}  // namespace tessaly::record
