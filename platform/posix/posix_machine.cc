#include "platform/posix/posix_machine.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/command_shell.h"
#include "platform/posix/environment.h"
#include "platform/posix/record_file.h"
#include "platform/posix/windows_names.h"
#include "system/win1252.h"

namespace qov {
namespace fs = std::filesystem;
using posix::MachineMap;

namespace {

PosixMachine* g_machine = nullptr;

constexpr const char* kDefaultComspec = "C:\\WINDOWS\\system32\\cmd.exe";

std::vector<std::string> host_parts(const std::string& relative) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t slash = relative.find('/', start);
    if (slash == std::string::npos)
      slash = relative.size();
    if (slash > start)
      parts.push_back(relative.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

// The per-user folder behind the default machine's C: and its registry.
std::string default_data_folder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/')
    return std::string(xdg) + "/qov-setup";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    passwd* pw = getpwuid(getuid());
    home = pw != nullptr ? pw->pw_dir : nullptr;
  }
  if (home != nullptr && home[0] == '/')
    return std::string(home) + "/.local/share/qov-setup";
  return "/tmp/qov-setup-" + std::to_string(getuid());
}

std::string process_folder() {
  std::error_code ec;
  fs::path cwd = fs::current_path(ec);
  return ec ? std::string() : cwd.string();
}

// Copies an open file into a new file beside `target` and renames it over
// the target, so that a failed copy leaves the old target as it was.
int copy_beside(int in, const struct stat& st, const std::string& target) {
  std::string folder = target.substr(0, target.rfind('/'));
  std::string temp = folder + "/.qov-copy-XXXXXX";
  int out = mkstemp(temp.data());
  if (out < 0)
    return errno;
  int status = 0;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      status = errno;
      break;
    }
    if (n == 0)
      break;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(out, buffer + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR)
        continue;
      if (w < 0) {
        status = errno;
        break;
      }
      done += w;
    }
    if (status != 0)
      break;
  }
  if (status == 0 && fchmod(out, st.st_mode & 07777) != 0)
    status = errno;
  if (status == 0 && fsync(out) != 0)
    status = errno;
  if (close(out) != 0 && status == 0)
    status = errno;
  if (status == 0 && rename(temp.c_str(), target.c_str()) != 0)
    status = errno;
  if (status != 0)
    unlink(temp.c_str());
  return status;
}

} // namespace

PosixMachine* current_machine() {
  return g_machine;
}
void set_current_machine(PosixMachine* machine) {
  g_machine = machine;
}

std::unique_ptr<PosixMachine> PosixMachine::from_environment(std::string* error) {
  const char* dir = std::getenv("QOV_MACHINE");
  if (dir == nullptr || *dir == '\0')
    return std::make_unique<PosixMachine>(MachineMap::host_default(default_data_folder()),
                                          process_folder());
  if (!posix::is_folder(dir) || access(dir, R_OK | X_OK) != 0) {
    *error = "QOV_MACHINE=" + std::string(dir) + " is not a readable folder";
    return nullptr;
  }
  std::error_code ec;
  std::string absolute = fs::absolute(dir, ec).lexically_normal().string();
  if (ec)
    absolute = dir;
  while (absolute.size() > 1 && absolute.back() == '/')
    absolute.pop_back();
  return std::make_unique<PosixMachine>(MachineMap::in_folder(absolute), process_folder());
}

PosixMachine::PosixMachine(MachineMap map, const std::string& start_folder) : map_(std::move(map)) {
  current_.drive = 'C';
  std::error_code ec;
  fs::path real = start_folder.empty() ? fs::path() : fs::canonical(start_folder, ec);
  if (!start_folder.empty() && !ec) {
    if (std::optional<MachineMap::Owner> owner = map_.owner_of(real.string())) {
      current_.drive = owner->drive;
      current_.server = owner->server;
      current_.share = owner->share;
      current_.parts =
          host_parts(real.string().substr(owner->root == "/" ? 0 : owner->root.size()));
    }
  }
  if (current_.drive != 0)
    drive_folders_[current_.drive] = current_.parts;
  if (!posix::get_process_env("COMSPEC"))
    posix::set_process_env("COMSPEC", kDefaultComspec);
}

std::vector<std::string> PosixMachine::folder_of_drive(char drive) const {
  if (current_.drive == drive)
    return current_.parts;
  auto it = drive_folders_.find(drive);
  return it == drive_folders_.end() ? std::vector<std::string>() : it->second;
}

std::optional<PosixMachine::Place> PosixMachine::place_of(const std::string& windows_name) const {
  std::optional<posix::WindowsName> name = posix::parse_windows_name(utf8_from_w1252(windows_name));
  if (!name)
    return std::nullopt;
  Place place;
  switch (name->anchor) {
  case posix::Anchor::kCurrentFolder:
    place = current_;
    break;
  case posix::Anchor::kCurrentRoot:
    place = current_;
    place.parts.clear();
    break;
  case posix::Anchor::kDriveCurrent:
    place.drive = name->drive;
    place.parts = folder_of_drive(name->drive);
    break;
  case posix::Anchor::kDriveRoot:
    place.drive = name->drive;
    break;
  case posix::Anchor::kShare:
    place.server = name->server;
    place.share = name->share;
    break;
  }
  posix::walk(place.parts, name->parts);
  return place;
}

// Matches the names below the root one by one against the host folders;
// from the first missing name on, the names stay as given.
std::optional<PosixMachine::Resolved> PosixMachine::resolve(const Place& place) const {
  std::optional<std::string> root =
      place.drive != 0 ? map_.drive_root(place.drive) : map_.share_root(place.server, place.share);
  if (!root)
    return std::nullopt;
  Resolved r;
  r.place = place;
  r.host = *root;
  r.exists = true;
  for (std::size_t i = 0; i < place.parts.size(); ++i) {
    r.parent_exists = r.exists && posix::is_folder(r.host);
    std::optional<std::string> entry;
    if (r.parent_exists)
      entry = posix::matching_entry(r.host, place.parts[i]);
    if (entry)
      r.place.parts[i] = *entry;
    else
      r.exists = false;
    r.host += (r.host.ends_with('/') ? "" : "/") + r.place.parts[i];
  }
  if (r.exists) {
    struct stat st;
    r.exists = stat(r.host.c_str(), &st) == 0;
  }
  return r;
}

std::optional<PosixMachine::Resolved> PosixMachine::resolve_name(const std::string& name) const {
  std::optional<Place> place = place_of(name);
  if (!place)
    return std::nullopt;
  return resolve(*place);
}

std::string PosixMachine::windows_name_of(const Place& place) const {
  std::string name = place.drive != 0 ? std::string(1, place.drive) + ":"
                                      : "\\\\" + place.server + "\\" + place.share;
  for (const std::string& p : place.parts)
    name += "\\" + p;
  if (place.drive != 0 && place.parts.empty())
    name += "\\";
  return w1252(name);
}

void PosixMachine::make_current(const Place& place) {
  current_ = place;
  if (place.drive != 0)
    drive_folders_[place.drive] = place.parts;
}

std::string PosixMachine::current_folder() {
  return windows_name_of(current_);
}

int PosixMachine::set_drive(char letter) {
  if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')))
    return EINVAL;
  char drive = static_cast<char>(letter & ~0x20);
  Place place;
  place.drive = drive;
  place.parts = folder_of_drive(drive);
  std::optional<Resolved> r = resolve(place);
  if (!r)
    return ENOENT;
  if (!r->exists || !posix::is_folder(r->host)) {
    // The folder last current on the drive has gone: its root, as on a
    // freshly inserted disk.
    place.parts.clear();
    r = resolve(place);
  }
  make_current(r->place);
  return 0;
}

int PosixMachine::change_folder(const std::string& name) {
  std::optional<Place> place = place_of(name);
  if (!place)
    return EINVAL;
  std::optional<Resolved> r = resolve(*place);
  if (!r || !r->exists)
    return ENOENT;
  if (!posix::is_folder(r->host))
    return ENOTDIR;
  make_current(r->place);
  return 0;
}

std::optional<PosixMachine::Found> PosixMachine::find(const std::string& windows_name) {
  std::optional<Resolved> r = resolve_name(windows_name);
  if (!r || !r->exists)
    return std::nullopt;
  return Found{r->host, windows_name_of(r->place), posix::is_folder(r->host)};
}

std::optional<std::string> PosixMachine::current_host_folder() {
  std::optional<Resolved> r = resolve(current_);
  if (!r || !r->exists)
    return std::nullopt;
  return r->host;
}

std::optional<FileInfo> PosixMachine::file_info(const std::string& name) {
  std::optional<Found> f = find(name);
  struct stat st;
  if (!f || stat(f->host.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    return std::nullopt;
  struct tm local;
  localtime_r(&st.st_mtim.tv_sec, &local);
  FileInfo info;
  info.size = static_cast<uint64_t>(st.st_size);
  info.year = local.tm_year + 1900;
  info.month = local.tm_mon + 1;
  info.day = local.tm_mday;
  info.hour = local.tm_hour;
  info.minute = local.tm_min;
  info.second = local.tm_sec;
  info.hundredths = static_cast<int>(st.st_mtim.tv_nsec / 10000000);
  return info;
}

int PosixMachine::copy_file(const std::string& from, const std::string& to) {
  std::optional<Found> source = find(from);
  if (!source)
    return ENOENT;
  if (source->folder)
    return EISDIR;
  std::optional<Resolved> target = resolve_name(to);
  if (!target)
    return place_of(to) ? ENOENT : EINVAL;
  if (target->place.parts.empty() || (target->exists && posix::is_folder(target->host)))
    return EISDIR;
  if (!target->parent_exists)
    return ENOENT; // no folder is made for a copy
  int in = open(source->host.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0)
    return errno;
  struct stat st;
  int status = fstat(in, &st) != 0 ? errno : copy_beside(in, st, target->host);
  close(in);
  return status;
}

int PosixMachine::run_command(const std::string& line) {
  CommandShell shell(*this);
  return shell.run_line(line);
}

void PosixMachine::set_env(const std::string& name, const std::string& value) {
  posix::set_process_env(name, value);
}

std::optional<std::string> PosixMachine::get_env(const std::string& name) {
  return posix::get_process_env(name);
}

std::unique_ptr<RecordFile> PosixMachine::new_record_file() {
  return std::make_unique<PosixRecordFile>(*this);
}

std::optional<std::string> PosixMachine::existing(const std::string& windows_name) {
  std::optional<Found> f = find(windows_name);
  if (!f)
    return std::nullopt;
  return f->host;
}

std::optional<std::string> PosixMachine::for_create(const std::string& windows_name) {
  std::optional<Resolved> r = resolve_name(windows_name);
  if (!r)
    return std::nullopt;
  return r->host;
}

std::string PosixMachine::drives() {
  return map_.drives();
}

std::vector<std::string> PosixMachine::folders_in(const std::string& windows_folder) {
  std::vector<std::string> names;
  std::optional<Found> f = find(windows_folder);
  if (!f || !f->folder)
    return names;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(f->host, ec))
    if (e.is_directory(ec))
      names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    std::string fa = posix::folded(a), fb = posix::folded(b);
    return fa != fb ? fa < fb : a < b;
  });
  for (std::string& n : names)
    n = w1252(n);
  return names;
}

} // namespace qov
