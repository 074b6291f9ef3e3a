#include "support/workbook_cells.h"

#include <cstdio>
#include <vector>

namespace tessaly::testing {
namespace {

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string Unescape(const std::string& xml) {
  static const std::pair<std::string, char> kEntities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}, {"&amp;", '&'}};
  std::string out;
  for (size_t i = 0; i < xml.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : kEntities) {
      if (xml.compare(i, entity.size(), entity) == 0) {
        out += c;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += xml[i++];
  }
  return out;
}

// The parts of `xml` between each `open` (up to its '>') and `close`.
std::vector<std::string> Elements(const std::string& xml, const std::string& open, const std::string& close) {
  std::vector<std::string> out;
  for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at)) {
    const size_t body = xml.find('>', at);
    if (body == std::string::npos) break;
    if (xml[body - 1] == '/') {  // an empty element
      out.emplace_back();
      at = body;
      continue;
    }
    const size_t end = xml.find(close, body);
    if (end == std::string::npos) break;
    out.push_back(xml.substr(body + 1, end - body - 1));
    at = end;
  }
  return out;
}

// The concatenated <t> runs of a string item.
std::string TextOf(const std::string& item) {
  std::string text;
  for (const std::string& run : Elements(item, "<t", "</t>")) text += run;
  return Unescape(text);
}

std::string Attribute(const std::string& tag, const std::string& name) {
  const std::string key = " " + name + "=\"";
  const size_t at = tag.find(key);
  if (at == std::string::npos) return {};
  const size_t from = at + key.size();
  return tag.substr(from, tag.find('"', from) - from);
}

}  // namespace

std::string ReadZipMember(const std::string& archive, const std::string& member) {
  const std::string command = "unzip -p " + Quote(archive) + " " + Quote(member) + " 2>/dev/null";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string bytes;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) bytes.append(buffer, n);
  ::pclose(pipe);
  return bytes;
}

std::map<std::string, std::string> WorkbookCells(const std::string& path) {
  std::vector<std::string> shared;
  for (const std::string& item : Elements(ReadZipMember(path, "xl/sharedStrings.xml"), "<si>", "</si>"))
    shared.push_back(TextOf(item));

  std::map<std::string, std::string> cells;
  const std::string sheet = ReadZipMember(path, "xl/worksheets/sheet1.xml");
  for (size_t at = sheet.find("<c "); at != std::string::npos; at = sheet.find("<c ", at + 1)) {
    const size_t tagEnd = sheet.find('>', at);
    if (tagEnd == std::string::npos) break;
    const std::string tag = sheet.substr(at, tagEnd - at);
    const std::string ref = Attribute(tag, "r");
    const std::string type = Attribute(tag, "t");
    const std::string body =
        sheet[tagEnd - 1] == '/' ? std::string() : sheet.substr(tagEnd + 1, sheet.find("</c>", tagEnd) - tagEnd - 1);
    const std::vector<std::string> values = Elements(body, "<v", "</v>");
    if (type == "s" && !values.empty()) {
      const size_t index = std::stoul(values.front());
      cells[ref] = index < shared.size() ? shared[index] : "<bad shared index>";
    } else if (type == "inlineStr") {
      cells[ref] = TextOf(body);
    } else {
      cells[ref] = values.empty() ? "" : "<number " + values.front() + ">";
    }
  }
  return cells;
}

}  // namespace tessaly::testing
