// A fresh folder under the Windows temporary folder, removed with its
// content at the end of the test.
#pragma once

#include <string>

namespace qov::testing {

class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Windows names (ASCII) of the folder and of a name inside it.
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
  std::string path_;
};

// Whole-file helpers on Windows names.
void write_file(const std::string& name, const std::string& bytes);
std::string read_file(const std::string& name);
bool exists(const std::string& name);
void make_folder(const std::string& name);

} // namespace qov::testing
