#include "json.h"

#include "base/format.h"

namespace tessaly::cli {

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c == 0x7F) {
      out += base::Format("\\u%04x", c);
    } else {
      out += ch;
    }
  }
  out += '"';
  return out;
}

}  // namespace tessaly::cli
