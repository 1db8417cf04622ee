#include "tests/support/fake_platform.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qov::testing {
namespace {

std::string parent_of(const std::string& key) {
  std::size_t slash = key.rfind('\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

class FakeRecordFile : public RecordFile {
public:
  explicit FakeRecordFile(FakePlatform& machine) : machine_(machine) {}

  RecordStatus open(const std::string& name, OpenMode mode) override {
    if (open_)
      return "41";
    key_ = FakePlatform::key(name);
    bool exists = machine_.files.count(key_) > 0;
    switch (mode) {
    case OpenMode::kInput:
    case OpenMode::kUpdate:
      if (!exists)
        return "35";
      break;
    case OpenMode::kExtend:
      if (!machine_.extend_failure.empty())
        return machine_.extend_failure;
      if (!exists)
        return "35";
      break;
    case OpenMode::kOutput:
      if (!machine_.folders.count(parent_of(key_)))
        return "30";
      machine_.files[key_].clear();
      break;
    }
    mode_ = mode;
    open_ = true;
    position_ = 0;
    last_read_ = std::string::npos;
    return "00";
  }

  RecordStatus read_next(std::span<char, kRecordSize> record) override {
    if (!open_)
      return "47";
    const std::string& data = machine_.files[key_];
    if (position_ + kRecordSize > data.size())
      return "10";
    std::memcpy(record.data(), data.data() + position_, kRecordSize);
    last_read_ = position_;
    position_ += kRecordSize;
    return "00";
  }

  RecordStatus write(std::span<const char, kRecordSize> record) override {
    if (!open_ || (mode_ != OpenMode::kOutput && mode_ != OpenMode::kExtend))
      return "48";
    machine_.files[key_].append(record.data(), kRecordSize);
    return "00";
  }

  RecordStatus rewrite(std::span<const char, kRecordSize> record) override {
    if (!open_ || mode_ != OpenMode::kUpdate)
      return "49";
    if (last_read_ == std::string::npos)
      return "43";
    machine_.files[key_].replace(last_read_, kRecordSize, record.data(), kRecordSize);
    last_read_ = std::string::npos;
    return "00";
  }

  RecordStatus close() override {
    if (!open_)
      return "42";
    open_ = false;
    return "00";
  }

private:
  FakePlatform& machine_;
  std::string key_;
  OpenMode mode_ = OpenMode::kInput;
  bool open_ = false;
  std::size_t position_ = 0;
  std::size_t last_read_ = std::string::npos;
};

} // namespace

std::string FakePlatform::key(const std::string& name) {
  std::string k = name;
  for (char& c : k) {
    if (c == '/')
      c = '\\';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return k;
}

std::string FakePlatform::folder_key(const std::string& name) {
  std::string k = key(name);
  while (k.size() > 3 && k.back() == '\\')
    k.pop_back();
  return k;
}

void FakePlatform::add_folder(const std::string& name) {
  std::string k = folder_key(name);
  while (!k.empty()) {
    folders.insert(k);
    std::string parent = parent_of(k);
    if (parent == k)
      break;
    k = parent;
  }
}

void FakePlatform::add_file(const std::string& name, const std::string& content) {
  std::string k = key(name);
  files[k] = content;
  add_folder(parent_of(k));
}

bool FakePlatform::has_file(const std::string& name) const {
  return files.count(key(name)) > 0;
}

std::string FakePlatform::content(const std::string& name) const {
  auto it = files.find(key(name));
  return it == files.end() ? std::string() : it->second;
}

void FakePlatform::remove_file(const std::string& name) {
  files.erase(key(name));
}

int FakePlatform::set_drive(char letter) {
  current = std::string(1, letter) + ":\\";
  return 0;
}

int FakePlatform::change_folder(const std::string& name) {
  if (!folders.count(folder_key(name)))
    return 3;
  current = name;
  return 0;
}

std::optional<FileInfo> FakePlatform::file_info(const std::string& name) {
  auto it = files.find(key(name));
  if (it == files.end())
    return std::nullopt;
  FileInfo info;
  info.size = it->second.size();
  info.year = 2026;
  info.month = 12;
  info.day = 11;
  return info;
}

int FakePlatform::copy_file(const std::string& from, const std::string& to) {
  auto it = files.find(key(from));
  if (it == files.end())
    return 2;
  if (!folders.count(parent_of(key(to))))
    return 3;
  files[key(to)] = it->second;
  return 0;
}

int FakePlatform::run_command(const std::string& line) {
  commands.push_back(line);
  return 0;
}

void FakePlatform::set_env(const std::string& name, const std::string& value) {
  std::string k = name;
  std::transform(k.begin(), k.end(), k.begin(), ::toupper);
  env[k] = value;
}

std::optional<std::string> FakePlatform::get_env(const std::string& name) {
  std::string k = name;
  std::transform(k.begin(), k.end(), k.begin(), ::toupper);
  auto it = env.find(k);
  if (it == env.end())
    return std::nullopt;
  return it->second;
}

std::unique_ptr<RecordFile> FakePlatform::new_record_file() {
  return std::make_unique<FakeRecordFile>(*this);
}

} // namespace qov::testing
