#include "platform/terminal/sp2_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace qov::terminal {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxFileSize = 64u << 20;

std::optional<std::vector<uint8_t>> read_file(const std::string& path) {
  std::error_code ec;
  auto size = fs::file_size(path, ec);
  if (ec || size > kMaxFileSize)
    return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::optional<std::string> entry_ignoring_case(const std::string& host_folder,
                                               std::string_view name) {
  std::error_code ec;
  fs::path exact = fs::path(host_folder) / std::string(name);
  if (fs::exists(exact, ec))
    return exact.string();
  std::string wanted = lower_ascii(name);
  for (const auto& entry : fs::directory_iterator(host_folder, ec))
    if (lower_ascii(entry.path().filename().string()) == wanted)
      return entry.path().string();
  return std::nullopt;
}

std::optional<std::string> host_folder_ignoring_case(const std::string& folder) {
  std::string name = folder;
  for (char& c : name)
    if (c == '\\')
      c = '/';
  std::string at = name.starts_with('/') ? "/" : ".";
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos)
      end = name.size();
    std::string part = name.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".")
      continue;
    auto next = entry_ignoring_case(at, part);
    if (!next)
      return std::nullopt;
    at = *next;
  }
  std::error_code ec;
  return fs::is_directory(at, ec) ? std::optional<std::string>(at) : std::nullopt;
}

void Sp2Files::load() {
  loaded_ = true;
  const char* named = std::getenv("sp2cfg");
  if (named == nullptr || *named == '\0')
    return;
  std::string name = named;
  std::size_t cut = name.find_last_of("\\/");
  std::string folder = cut == std::string::npos ? "." : name.substr(0, cut + 1);
  std::string file = cut == std::string::npos ? name : name.substr(cut + 1);
  folder_ = resolve_(folder);
  if (!folder_)
    return;
  auto path = entry_ignoring_case(*folder_, file);
  auto text = path ? read_file(*path) : std::nullopt;
  if (text)
    config_ = Sp2Config::parse(
        std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
}

const Sp2Config& Sp2Files::config() {
  if (!loaded_)
    load();
  return config_;
}

const CellPicture* Sp2Files::picture(std::string_view bitmap) {
  if (!loaded_)
    load();
  std::string key = lower_ascii(bitmap);
  auto it = pictures_.find(key);
  if (it != pictures_.end())
    return it->second.get();
  std::unique_ptr<CellPicture> cells;
  // A bitmap is a bare file name; anything that could leave the folder is
  // not looked for.
  bool bare =
      !bitmap.empty() && bitmap.find_first_of("/\\") == std::string_view::npos && bitmap != "..";
  auto path = folder_ && bare ? entry_ignoring_case(*folder_, bitmap) : std::nullopt;
  auto bytes = path ? read_file(*path) : std::nullopt;
  auto image = bytes ? decode_bmp(*bytes) : std::nullopt;
  if (image)
    cells = std::make_unique<CellPicture>(to_cells(*image, kCellWidthPixels, kCellHeightPixels));
  return (pictures_[key] = std::move(cells)).get();
}

} // namespace qov::terminal
