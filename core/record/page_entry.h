#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::record {

// Page-tree item data of searched entry k is SearchedItemBase + k; smaller
// non-zero values are pages (position + 1), 0 the roots.
constexpr int32_t SearchedItemBase = 2'000'000'000;

// One page of the page index, or one kept search result.
struct PageEntry {
  uint32_t firstSector = 0;  // absolute sector number in the file
  std::string label;         // UTF-8 text shown in the tree
  uint32_t sectorCount = 0;
};

}  // namespace tessaly::record
