#include "platform/posix/control_registry.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <unistd.h>

#include "platform/posix/command_line.h"
#include "platform/posix/posix_machine.h"
#include "platform/posix/windows_names.h"
#include "system/win1252.h"

namespace qov::posix {
namespace fs = std::filesystem;

namespace {

std::vector<std::string> read_lines(const std::string& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line))
    if (!line.empty())
      lines.push_back(line);
  return lines;
}

void tell(FILE* to, const std::string& w1252_text) {
  std::string text = utf8_from_w1252(w1252_text);
  std::fwrite(text.data(), 1, text.size(), to);
  std::fflush(to);
}

} // namespace

std::vector<std::string> ControlRegistry::names() const {
  std::vector<std::string> names;
  for (const std::string& line : read_lines(file_))
    names.push_back(w1252(line));
  return names;
}

bool ControlRegistry::add(const std::string& windows_name) {
  std::string name = utf8_from_w1252(windows_name);
  for (const std::string& line : read_lines(file_))
    if (same_name(line, name))
      return true;
  std::error_code ec;
  fs::create_directories(fs::path(file_).parent_path(), ec);
  int fd = open(file_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0)
    return false;
  std::string line = name + "\n";
  bool ok = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  return close(fd) == 0 && ok;
}

bool ControlRegistry::remove(const std::string& windows_name) {
  std::string name = utf8_from_w1252(windows_name);
  std::vector<std::string> lines = read_lines(file_);
  std::string kept;
  bool found = false;
  for (const std::string& line : lines) {
    if (same_name(line, name))
      found = true;
    else
      kept += line + "\n";
  }
  if (!found)
    return true;
  std::string temp = file_ + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << kept;
    if (!out.flush())
      return false;
  }
  return std::rename(temp.c_str(), file_.c_str()) == 0;
}

int run_regsvr32(PosixMachine& machine, std::string_view arguments) {
  bool silent = false, unregister = false;
  std::vector<std::string> controls;
  for (const std::string& arg : split_arguments(arguments)) {
    if (arg.size() >= 2 && (arg[0] == '/' || arg[0] == '-')) {
      char s = static_cast<char>(arg[1] | 0x20);
      silent |= s == 's';
      unregister |= s == 'u';
    } else {
      controls.push_back(arg);
    }
  }
  if (controls.empty()) {
    if (!silent)
      tell(stderr, "regsvr32: no control named\n");
    return 1;
  }
  ControlRegistry registry(machine.map().registry_file());
  for (const std::string& control : controls) {
    std::optional<PosixMachine::Found> found = machine.find(control);
    if (!found || found->folder) {
      if (!silent)
        tell(stderr, "LoadLibrary(\"" + control +
                         "\") failed - The specified module could not be found.\n");
      return 3;
    }
    bool ok = unregister ? registry.remove(found->windows) : registry.add(found->windows);
    if (!ok) {
      if (!silent)
        tell(stderr, "regsvr32: the registry cannot be written\n");
      return 5;
    }
    if (!silent)
      tell(stdout, std::string(unregister ? "DllUnregisterServer" : "DllRegisterServer") + " in " +
                       found->windows + " succeeded.\n");
  }
  return 0;
}

} // namespace qov::posix
