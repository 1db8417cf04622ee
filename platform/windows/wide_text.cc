#include "platform/windows/wide_text.h"

#include <windows.h>

namespace qov {
namespace {

std::wstring to_wide(unsigned code_page, std::string_view text) {
  if (text.empty())
    return {};
  int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string from_wide(unsigned code_page, std::wstring_view text) {
  if (text.empty())
    return {};
  int n = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

} // namespace

std::wstring wide_from_w1252(std::string_view text) {
  return to_wide(1252, text);
}
std::string w1252_from_wide(std::wstring_view text) {
  return from_wide(1252, text);
}
std::wstring wide_from_utf8(std::string_view text) {
  return to_wide(CP_UTF8, text);
}
std::string utf8_from_wide(std::wstring_view text) {
  return from_wide(CP_UTF8, text);
}

std::string error_text(unsigned long error) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n > 0 ? std::wstring(buffer, n) : L"";
  if (buffer != nullptr)
    LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty())
    return "error " + std::to_string(error);
  return utf8_from_wide(text);
}

} // namespace qov
