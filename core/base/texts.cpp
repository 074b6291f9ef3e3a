#include "base/texts.h"

namespace tessaly::base {
namespace {

struct TextPair {
  const char* zh;
  const char* en;
};

constexpr TextPair kTexts[] = {
#define TEXT(id, zh, en) {zh, en},
#include "base/texts.def"
#undef TEXT
};
static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == static_cast<int>(TextId::Count));

}  // namespace

const char* Text(TextId id, int language) {
  const TextPair& pair = kTexts[static_cast<int>(id)];
  return language == kChinese ? pair.zh : pair.en;
}

}  // namespace tessaly::base
