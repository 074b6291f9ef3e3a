#pragma once
// Reads a written workbook back: the text of every cell of its first sheet,
// by reference ("A1"), read with zlib. Shared and inline strings alike.
#include <map>
#include <string>

namespace tessaly::testing {

// The bytes of one member of a zip archive; empty when it is missing.
std::string ReadZipMember(const std::string& archive, const std::string& member);

std::map<std::string, std::string> WorkbookCells(const std::string& path);

}  // namespace tessaly::testing
