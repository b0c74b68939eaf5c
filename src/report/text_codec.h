// Text conversions for the export files: UTF-8 (the program's texts), UTF-16
// (workbook strings) and GBK (the code page the TXT captions are written in).
#pragma once

#include <string>
#include <string_view>

namespace orb {

// Invalid UTF-8 bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
// Number of code points of a UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);
// GBK bytes of a UTF-8 text; a character GBK lacks becomes "?".
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace orb
