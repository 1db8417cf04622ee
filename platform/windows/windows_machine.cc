#include "platform/windows/windows_machine.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <direct.h>

#include "platform/windows/wide_text.h"
#include "platform/windows/windows_record_file.h"

namespace qov {
namespace {

bool is_folder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring system_shell() {
  wchar_t folder[MAX_PATH];
  UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH)
    return L"cmd.exe";
  return std::wstring(folder, n) + L"\\cmd.exe";
}

std::optional<std::wstring> variable(const std::wstring& name) {
  DWORD n = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (n == 0)
    return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                    : std::optional<std::wstring>(L"");
  std::wstring value(n, L'\0');
  n = GetEnvironmentVariableW(name.c_str(), value.data(), n);
  value.resize(n);
  return value;
}

// The root a full name lies under: "X:\" or "\\SERVER\SHARE\".
std::wstring root_of(const std::wstring& full) {
  if (full.size() >= 3 && full[1] == L':')
    return full.substr(0, 3);
  if (full.rfind(L"\\\\", 0) == 0) {
    std::size_t server = full.find(L'\\', 2);
    std::size_t share = server == std::wstring::npos ? server : full.find(L'\\', server + 1);
    return share == std::wstring::npos ? full + L"\\" : full.substr(0, share + 1);
  }
  return {};
}

bool less_without_case(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) < lower(y);
  });
}

} // namespace

std::wstring full_name(const std::wstring& name) {
  if (name.empty())
    return {};
  DWORD n = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (n == 0)
    return {};
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(name.c_str(), n, full.data(), nullptr);
  full.resize(n);
  return full;
}

std::wstring shell_command_line(const std::wstring& comspec, const std::wstring& line) {
  return L"\"" + comspec + L"\" /S /C \"" + line + L"\"";
}

std::string WindowsMachine::current_folder() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(n, L'\0');
  n = GetCurrentDirectoryW(n, folder.data());
  folder.resize(n);
  return w1252_from_wide(folder);
}

int WindowsMachine::set_drive(char letter) {
  int upper = std::towupper(static_cast<unsigned char>(letter));
  if (upper < 'A' || upper > 'Z')
    return EINVAL;
  errno = 0;
  return _chdrive(upper - 'A' + 1) == 0 ? 0 : (errno != 0 ? errno : EACCES);
}

int WindowsMachine::change_folder(const std::string& name) {
  errno = 0;
  return _wchdir(wide_from_w1252(name).c_str()) == 0 ? 0 : (errno != 0 ? errno : ENOENT);
}

std::optional<FileInfo> WindowsMachine::file_info(const std::string& name) {
  if (name.empty())
    return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide_from_w1252(name).c_str(), GetFileExInfoStandard, &data) ||
      is_folder(data.dwFileAttributes))
    return std::nullopt;
  FileInfo info;
  info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  FILETIME local;
  SYSTEMTIME t;
  if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &t)) {
    info.year = t.wYear;
    info.month = t.wMonth;
    info.day = t.wDay;
    info.hour = t.wHour;
    info.minute = t.wMinute;
    info.second = t.wSecond;
    info.hundredths = t.wMilliseconds / 10;
  }
  return info;
}

// The copy is written beside the target and renamed over it, so that a copy
// that fails half-way never leaves a truncated file in place of the old one.
int WindowsMachine::copy_file(const std::string& from, const std::string& to) {
  std::wstring source = wide_from_w1252(from);
  std::wstring target = wide_from_w1252(to);
  if (source.empty() || target.empty())
    return ERROR_INVALID_NAME;
  std::wstring beside = target + L".qov-copy";
  if (!CopyFileW(source.c_str(), beside.c_str(), FALSE)) {
    DWORD error = GetLastError();
    DeleteFileW(beside.c_str());
    return static_cast<int>(error);
  }
  if (!MoveFileExW(beside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DWORD error = GetLastError();
    DeleteFileW(beside.c_str());
    return static_cast<int>(error);
  }
  return 0;
}

int WindowsMachine::run_command(const std::string& line) {
  std::wstring comspec = variable(L"COMSPEC").value_or(L"");
  if (comspec.empty())
    comspec = system_shell();
  std::wstring command = shell_command_line(comspec, wide_from_w1252(line));

  // With standard handles of its own (started from a console or with
  // redirections) the installer lends them to the shell; otherwise the shell
  // opens its own console, as it does when started from the desktop.
  STARTUPINFOW si{};
  si.cb = sizeof si;
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  bool lend = out != nullptr && out != INVALID_HANDLE_VALUE;
  if (lend) {
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = out;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(comspec.c_str(), command.data(), nullptr, nullptr, lend ? TRUE : FALSE, 0,
                      nullptr, nullptr, &si, &pi))
    return static_cast<int>(GetLastError());
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

// Set both in the process (inherited by the programs it starts) and in the
// C run-time's copy (read by getenv).
void WindowsMachine::set_env(const std::string& name, const std::string& value) {
  std::wstring n = wide_from_w1252(name);
  std::wstring v = wide_from_w1252(value);
  SetEnvironmentVariableW(n.c_str(), v.c_str());
  _wputenv_s(n.c_str(), v.c_str());
}

std::optional<std::string> WindowsMachine::get_env(const std::string& name) {
  auto value = variable(wide_from_w1252(name));
  if (!value)
    return std::nullopt;
  return w1252_from_wide(*value);
}

std::unique_ptr<RecordFile> WindowsMachine::new_record_file() {
  return std::make_unique<WindowsRecordFile>();
}

std::optional<std::string> WindowsMachine::existing(const std::string& windows_name) {
  std::wstring full = full_name(wide_from_w1252(windows_name));
  if (full.empty() || GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES)
    return std::nullopt;
  return utf8_from_wide(full);
}

std::optional<std::string> WindowsMachine::for_create(const std::string& windows_name) {
  std::wstring full = full_name(wide_from_w1252(windows_name));
  std::wstring root = root_of(full);
  if (root.empty() || !is_folder(GetFileAttributesW(root.c_str())))
    return std::nullopt;
  return utf8_from_wide(full);
}

std::string WindowsMachine::drives() {
  DWORD mask = GetLogicalDrives();
  std::string letters;
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i))
      letters.push_back(static_cast<char>('A' + i));
  return letters;
}

std::vector<std::string> WindowsMachine::folders_in(const std::string& windows_folder) {
  std::vector<std::string> names;
  std::wstring pattern = wide_from_w1252(windows_folder);
  if (pattern.empty())
    return names;
  if (pattern.back() != L'\\' && pattern.back() != L'/' && pattern.back() != L':')
    pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(pattern.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE)
    return names;
  do {
    std::wstring name = found.cFileName;
    if (is_folder(found.dwFileAttributes) && name != L"." && name != L"..")
      names.push_back(w1252_from_wide(name));
  } while (FindNextFileW(h, &found));
  FindClose(h);
  std::sort(names.begin(), names.end(), less_without_case);
  return names;
}

} // namespace qov
