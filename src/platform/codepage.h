// Conversions between the system's narrow texts (Windows-1252) and Unicode
// (UTF-16 for interface texts, UTF-8 for terminals and text files).
// Every byte maps to one character and back: the five bytes that Windows-1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to U+0081 etc., as on
// Windows. A character outside the code page becomes '?'.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

char16_t Cp1252ToUnicode(unsigned char byte);
// The byte of a character, or -1 when the code page lacks it.
int UnicodeToCp1252(char32_t code_point);

std::u16string Cp1252ToUtf16(std::string_view text);
// An unpaired surrogate or a character outside the code page becomes '?'.
std::string Utf16ToCp1252(std::u16string_view text);

std::string Cp1252ToUtf8(std::string_view text);
// Malformed UTF-8 sequences become one '?' per byte.
std::string Utf8ToCp1252(std::string_view text);

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Every byte as the character of the same number (ISO-8859-1), in UTF-8.
std::string Latin1ToUtf8(std::string_view text);
// The offset of the first byte that is not well-formed UTF-8; npos when none.
size_t FirstMalformedUtf8(std::string_view text);
// The characters of a UTF-8 text that Windows-1252 lacks, each once, in the
// order they first appear, each as UTF-8; a malformed byte shows as "\xE7".
std::vector<std::string> MissingFromCp1252(std::string_view text);

// Decodes one code point of UTF-8 at *pos and advances *pos; a malformed
// byte reads as U+FFFD and advances by one.
char32_t NextUtf8CodePoint(std::string_view text, size_t* pos);

// Upper case of a letter of the code page (both cases must exist in it);
// anything else is returned unchanged.
char32_t UpperCaseCp1252Letter(char32_t code_point);
char Cp1252ToUpper(char c);
bool Cp1252EqualNoCase(std::string_view a, std::string_view b);

}  // namespace qx
