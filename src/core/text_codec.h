// The program's text conversions: UTF-8 (its own texts, the terminal), UTF-16
// (survey file and workbook strings) and GBK (the code page of the TXT captions).
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
// Each byte one character (U+0000..U+00FF): bytes a device sent, kept as
// they came whatever they are.
std::u16string Latin1ToUtf16(std::string_view bytes);
// GBK bytes of a UTF-8 text; a character GBK lacks becomes "?".
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace orb
