#include "tests/support/fault_machine.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/programs/zip_extractor.h"

namespace qov::testing {
namespace fs = std::filesystem;

std::string apl_answers(const std::string& folder, bool update_panel_first) {
  // Module "apl" (286), Portugal (281), "mf" (306), then the folder dialog.
  return std::string(update_panel_first ? "key 3\n" : "") + "key 286\nkey 281\nkey 306\nfolder " +
         folder + "\n";
}

CdCopyMachine::CdCopyMachine() {
  write_file("c/WINDOWS/system32/msvcrt.dll", "demo msvcrt");
  fs::copy(QOV_DEMO_CD, host("d"), fs::copy_options::recursive);
}

RunResult CdCopyMachine::run(const std::string& answers, bool traced) const {
  RunOptions o;
  o.machine = root();
  o.cwd = host("d/AUTORUN/BIN");
  o.env["windir"] = "C:\\WINDOWS";
  o.answers = answers;
  if (!traced)
    o.env["QOV_TRACE"] = "";
  return run_setup(o);
}

std::map<std::string, std::string> files_below(const std::string& folder) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it);
       it.increment(ec))
    if (it->is_regular_file(ec))
      files[fs::relative(it->path(), folder).string()] = read_host_file(it->path().string());
  return files;
}

const std::map<std::string, std::string>& reference_installation() {
  static const std::map<std::string, std::string> files = [] {
    CdCopyMachine m;
    RunResult r = m.run(apl_answers());
    if (r.status != 0)
      std::fprintf(stderr, "reference installation failed (%d): %s\n", r.status, r.err.c_str());
    return files_below(m.host("c/QOV/EMPRESA"));
  }();
  return files;
}

const std::map<std::string, std::set<std::string>>& whole_versions() {
  static const std::map<std::string, std::set<std::string>> versions = [] {
    std::map<std::string, std::set<std::string>> v;
    for (const auto& [path, bytes] : reference_installation())
      v[path].insert(bytes);
    TempDir work;
    int n = 0;
    for (const fs::directory_entry& e :
         fs::directory_iterator(std::string(QOV_DEMO_CD) + "/portugal/mf/600")) {
      if (e.path().extension() != ".in@")
        continue;
      std::string dest = work.path() + "/" + std::to_string(++n);
      extract_zip(e.path().string(), dest);
      for (const auto& [path, bytes] : files_below(dest))
        v[path].insert(bytes);
    }
    return v;
  }();
  return versions;
}

namespace {

bool enter_private_mounts() {
  static const bool entered = [] {
    if (unshare(CLONE_NEWNS) != 0)
      return false;
    return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  }();
  return entered;
}

} // namespace

bool Mount::available() {
  // QOV_FAULT_NO_MOUNTS=1 tries the scenarios' fallbacks on a machine that
  // allows mounts.
  const char* no_mounts = std::getenv("QOV_FAULT_NO_MOUNTS");
  if (no_mounts != nullptr && *no_mounts == '1')
    return false;
  return enter_private_mounts();
}

Mount Mount::tmpfs(const std::string& folder, std::size_t bytes) {
  fs::create_directories(folder);
  std::string options = "size=" + std::to_string(bytes);
  if (!available() || mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
    return Mount("");
  return Mount(folder);
}

Mount Mount::read_only(const std::string& folder) {
  if (!available() || mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0)
    return Mount("");
  Mount m(folder);
  if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
    return Mount("");
  return m;
}

Mount::~Mount() {
  if (!folder_.empty())
    umount2(folder_.c_str(), MNT_DETACH);
}

void fill_file_system(const std::string& folder) {
  int fd = open((folder + "/.filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0)
    return;
  static const char block[4096] = {};
  // Whole pages first, then single bytes into the last one.
  while (write(fd, block, sizeof block) == static_cast<ssize_t>(sizeof block)) {
  }
  while (write(fd, block, 1) == 1) {
  }
  close(fd);
}

FileSizeLimit::FileSizeLimit(unsigned long long bytes) {
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  old_soft_ = old.rlim_cur;
  old_hard_ = old.rlim_max;
  old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{bytes, old.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit old{old_soft_, old_hard_};
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_handler_);
}

std::string install_record(const std::string& version, const std::string& folder,
                           const std::string& mark) {
  std::string r = version + folder;
  r.resize(75, ' ');
  r += mark;
  r.resize(78, ' ');
  return r + "\r\n";
}

Scenario::~Scenario() {
  if (::testing::Test::IsSkipped())
    return;
  add_to_figure("fault scenarios run", 1);
  if (!::testing::Test::HasFailure())
    add_to_figure("fault scenarios survived", 1);
}

void add_to_figure(const std::string& name, long long n) {
  const char* path = std::getenv("QOV_FIGURES");
  if (path == nullptr || *path == '\0')
    return;
  std::ofstream(path, std::ios::app) << name << '\t' << n << '\n';
}

} // namespace qov::testing
