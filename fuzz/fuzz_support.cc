#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace qov::fuzz {
namespace fs = std::filesystem;

namespace {

std::vector<std::string>& roots() {
  static std::vector<std::string> r;
  return r;
}

void remove_roots() {
  std::error_code ec;
  for (const std::string& root : roots()) {
    // Give write permission back first, so that no test folder stays.
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root, ec);
  }
}

uint64_t fnv1a(std::string_view bytes) {
  uint64_t h = 1469598103934665603ull;
  for (char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h;
}

std::string& input_name() {
  static std::string name;
  return name;
}

} // namespace

void set_input_name(const std::string& name) {
  input_name() = name;
}

void fail(std::string_view target, const std::string& what) {
  std::fprintf(stderr, "\n==== fuzz_%.*s%s%s: %s\n", static_cast<int>(target.size()), target.data(),
               input_name().empty() ? "" : " on ", input_name().c_str(), what.c_str());
  std::fflush(stderr);
  std::abort();
}

std::string temp_root(std::string_view target) {
  std::string templ =
      (fs::temp_directory_path() / ("qov-fuzz-" + std::string(target) + "-XXXXXX")).string();
  if (mkdtemp(templ.data()) == nullptr)
    fail(target, "cannot make a temporary folder");
  if (roots().empty())
    std::atexit(remove_roots);
  roots().push_back(templ);
  return templ;
}

bool read_host_file(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  std::stringstream s;
  s << in.rdbuf();
  *bytes = s.str();
  return true;
}

void write_host_file(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Tree tree_of(const std::string& folder, const std::string& skip) {
  Tree tree;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    std::string relative = fs::relative(it->path(), folder, ec).string();
    if (!skip.empty() && relative.compare(0, skip.size(), skip) == 0)
      continue;
    fs::file_status st = it->symlink_status(ec);
    std::string picture;
    if (fs::is_symlink(st)) {
      picture = "link " + fs::read_symlink(it->path(), ec).string();
    } else if (fs::is_directory(st)) {
      picture = "folder";
    } else {
      std::string bytes;
      read_host_file(it->path().string(), &bytes);
      picture = "file " + std::to_string(bytes.size()) + " " + std::to_string(fnv1a(bytes));
    }
    tree[relative] = picture;
  }
  return tree;
}

std::string shown(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 32 && u < 127 && c != '\\') {
      out += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", u);
      out += hex;
    }
  }
  return out;
}

} // namespace qov::fuzz
