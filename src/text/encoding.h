// Text conversions. Inside the program every string is UTF-8; code page 1251 exists only in
// the files on disk, UTF-16 only at the Win32 calls.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vt {

// Bytes of code page 1251 to UTF-8. Every byte maps to one character, so this never loses data
// (the one unassigned byte, 0x98, becomes U+0098 and comes back unchanged).
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 to code page 1251. A character the code page cannot hold becomes '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// True when every character of the text has a code-page-1251 byte.
bool FitsCp1251(std::string_view utf8);

// True for well-formed UTF-8: no stray or missing continuation byte, no overlong form, no
// surrogate, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Number of characters (code points); malformed bytes count one each.
std::size_t CharCount(std::string_view utf8);

// The first maxChars characters; never cuts inside a character.
std::string CutToChars(std::string_view utf8, std::size_t maxChars);

// Case-insensitive equality for Latin and Cyrillic letters (Ё/ё included).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// True when text begins with prefix under the same folding; an empty prefix begins every text.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

}  // namespace vt
