#include "tests/windows/support/temp_folder.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qov::testing {
namespace {

void remove_tree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..")
        continue;
      std::string full = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        remove_tree(full);
      else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(path.c_str());
}

} // namespace

TempFolder::TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  path_ = std::string(base) + "qovtest-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter);
  if (!CreateDirectoryA(path_.c_str(), nullptr))
    throw std::runtime_error("cannot create " + path_);
}

TempFolder::~TempFolder() {
  remove_tree(path_);
}

void write_file(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out)
    throw std::runtime_error("cannot write " + name);
}

std::string read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void make_folder(const std::string& name) {
  CreateDirectoryA(name.c_str(), nullptr);
}

} // namespace qov::testing
