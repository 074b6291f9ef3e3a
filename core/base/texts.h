#pragma once
// The table of user-visible texts. Everything that shows a text picks it here
// by id and language flag, so no quoted text is typed twice in the program.

namespace tessaly::base {

enum class TextId {
#define TEXT(id, zh, en) id,
#include "base/texts.def"
#undef TEXT
  Count
};

// Language flag of the settings: 0 Chinese, 1 English.
constexpr int kChinese = 0;
constexpr int kEnglish = 1;

// UTF-8 text for the language flag; any non-zero flag means English, as the
// start-up's choice of interface language does.
const char* Text(TextId id, int language);

}  // namespace tessaly::base
