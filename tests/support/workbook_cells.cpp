#include "support/workbook_cells.h"

#include <cstdio>
#include <regex>
#include <vector>

namespace tessaly::testing {
namespace {

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string Unescape(const std::string& xml) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  std::string out = xml;
  for (const auto& [entity, text] : kEntities) out = std::regex_replace(out, std::regex(entity), text);
  return out;
}

// The concatenated <t> runs of a string item.
std::string TextOf(const std::string& item) {
  static const std::regex kRun("<t[^>]*>([^<]*)</t>");
  std::string text;
  for (std::sregex_iterator it(item.begin(), item.end(), kRun), end; it != end; ++it) text += (*it)[1].str();
  return Unescape(text);
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
  const std::string strings = ReadZipMember(path, "xl/sharedStrings.xml");
  static const std::regex kItem("<si>(.*?)</si>");
  for (std::sregex_iterator it(strings.begin(), strings.end(), kItem), end; it != end; ++it)
    shared.push_back(TextOf((*it)[1].str()));

  std::map<std::string, std::string> cells;
  const std::string sheet = ReadZipMember(path, "xl/worksheets/sheet1.xml");
  static const std::regex kCell("<c r=\"([A-Z]+[0-9]+)\"([^>]*?)(?:/>|>(.*?)</c>)");
  static const std::regex kValue("<v>([^<]*)</v>");
  for (std::sregex_iterator it(sheet.begin(), sheet.end(), kCell), end; it != end; ++it) {
    const std::string attributes = (*it)[2].str();
    const std::string body = (*it)[3].str();
    std::smatch v;
    if (attributes.find("t=\"s\"") != std::string::npos && std::regex_search(body, v, kValue)) {
      const size_t index = std::stoul(v[1].str());
      cells[(*it)[1].str()] = index < shared.size() ? shared[index] : "<bad shared index>";
    } else if (attributes.find("t=\"inlineStr\"") != std::string::npos) {
      cells[(*it)[1].str()] = TextOf(body);
    } else {
      cells[(*it)[1].str()] = std::regex_search(body, v, kValue) ? "<number " + v[1].str() + ">" : "";
    }
  }
  return cells;
}

}  // namespace tessaly::testing
