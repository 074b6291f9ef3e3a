#include "support/workbook_cells.h"

#include <zlib.h>

#include <cstdint>
#include <vector>

#include "support/temp_dir.h"

namespace tessaly::testing {
namespace {

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
  const std::string zip = ReadFileBytes(archive);
  // Each member starts with a local header: signature, fixed fields, name,
  // extra field, then the data, which inflate knows the end of (the sizes
  // may be in a descriptor after it, or in zip64 fields).
  for (size_t at = zip.find("PK\x03\x04"); at != std::string::npos; at = zip.find("PK\x03\x04", at + 4)) {
    if (at + 30 > zip.size()) break;
    const auto u16 = [&](size_t i) { return static_cast<size_t>(uint8_t(zip[i]) | uint8_t(zip[i + 1]) << 8); };
    const size_t method = u16(at + 8), nameSize = u16(at + 26), extraSize = u16(at + 28);
    if (method != 8 || zip.compare(at + 30, nameSize, member) != 0 || nameSize != member.size()) continue;
    const size_t data = at + 30 + nameSize + extraSize;
    if (data > zip.size()) break;
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
    stream.avail_in = static_cast<uInt>(zip.size() - data);
    std::string bytes;
    int status = Z_OK;
    while (status == Z_OK) {
      char buffer[65536];
      stream.next_out = reinterpret_cast<Bytef*>(buffer);
      stream.avail_out = sizeof buffer;
      status = inflate(&stream, Z_NO_FLUSH);
      bytes.append(buffer, sizeof buffer - stream.avail_out);
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? bytes : std::string();
  }
  return {};
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
