#pragma once
// Texts in files (settings, record headers, CSV) are code page 936 (GBK);
// inside the program every text is UTF-8. These convert at the file boundary.
#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly::base {

// Bytes that are not valid GBK become U+FFFD, so a damaged header never
// yields invalid UTF-8.
std::string GbkToUtf8(std::string_view gbk);

// Characters GBK cannot hold become '?'.
std::string Utf8ToGbk(std::string_view utf8);

// The text of a fixed zero-padded field of `size` bytes: up to the first zero
// byte, or all `size` bytes when there is none (a full field has no terminator).
std::string_view FieldText(const char* field, size_t size);

// Stores `gbk` into a field of `size` bytes, truncated to size - 1 bytes so the
// field keeps its terminator, zero-padding the rest. Never splits a GBK
// double-byte character.
void SetFieldText(char* field, size_t size, std::string_view gbk);

}  // namespace tessaly::base
