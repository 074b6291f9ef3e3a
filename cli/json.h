#pragma once
// The little JSON the subcommands print.
#include <string>
#include <string_view>

namespace tessaly::cli {

// `utf8` as a JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);

}  // namespace tessaly::cli
