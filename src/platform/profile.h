// Reading private profile files ("log.ini") with the Windows rules: section
// and key names compare without regard to case, names and values are trimmed
// of blanks, a value in matching double or single quotes loses them, lines
// starting with ';' are comments, the first matching section and key win.
// A missing or unreadable file gives the default. Texts are Windows-1252
// (files in UTF-16 or UTF-8 with a byte-order mark are converted).
#pragma once

#include <string>
#include <string_view>

// The value, or the default without its trailing blanks.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, const std::string& file);

// The leading decimal number of the value (an optional sign, then digits;
// clamped to the range of int); the default when the key is absent or its
// value does not start with a number.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int default_value,
                         const std::string& file);
