// Conversions between the installer's Windows-1252 names, UTF-8 and the
// UTF-16 of the Win32 "W" calls.
//
// The installer's data is Windows-1252 whatever the PC's ANSI code page is,
// so every name goes to Windows through the W calls, converted here.
#pragma once

#include <string>
#include <string_view>

namespace qov {

std::wstring wide_from_w1252(std::string_view text);
std::string w1252_from_wide(std::wstring_view text);
std::wstring wide_from_utf8(std::string_view text);
std::string utf8_from_wide(std::wstring_view text);

// The message of a Win32 error number, for reports ("Access is denied.").
std::string error_text(unsigned long error);

} // namespace qov
