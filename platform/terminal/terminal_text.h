// Windows-1252 texts of the GUI blocks as a UTF-8 terminal shows them, and
// what the user types turned back into Windows-1252.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qov::terminal {

// The text of a block field without its trailing spaces and NULs.
std::string trimmed_field(std::string_view field);

// Windows-1252 to the characters shown. Control characters (NUL included)
// are shown as spaces, so nothing moves the cursor or changes the terminal.
std::wstring shown_text(std::string_view w1252);

// UTF-8 (texts of our own, error reasons) to the characters shown, with the
// same treatment of control characters. Malformed sequences become U+FFFD.
std::wstring shown_utf8(std::string_view utf8);

// A typed character in Windows-1252; empty when it has no Windows-1252 form
// or is a control character.
std::string w1252_from_typed(wchar_t c);

// Breaks a text into lines of at most `width` characters, at spaces where it
// can; words longer than a line are cut.
std::vector<std::wstring> wrapped(const std::wstring& text, std::size_t width);

} // namespace qov::terminal
