#include "platform/terminal/bmp_image.h"

#include <cstdlib>

namespace qov::terminal {
namespace {

constexpr int kMaxSide = 4096;

uint32_t le32(std::span<const uint8_t> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint16_t le16(std::span<const uint8_t> b, std::size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

struct Header {
  int64_t width = 0, height = 0;
  bool top_down = false;
  int bits = 0;
  std::size_t palette_at = 0, palette_entry = 4, palette_count = 0;
};

std::optional<Header> read_header(std::span<const uint8_t> file) {
  if (file.size() < 26 || file[0] != 'B' || file[1] != 'M')
    return std::nullopt;
  uint32_t info_size = le32(file, 14);
  Header h;
  if (info_size == 12) { // the old OS/2 header: 16-bit sizes, 3-byte palette
    h.width = le16(file, 18);
    h.height = le16(file, 20);
    h.bits = le16(file, 24);
    h.palette_entry = 3;
  } else if (info_size >= 40 && 14 + static_cast<std::size_t>(info_size) <= file.size()) {
    h.width = static_cast<int32_t>(le32(file, 18));
    h.height = static_cast<int32_t>(le32(file, 22));
    h.bits = le16(file, 28);
    uint32_t compression = le32(file, 30);
    // Bit fields are accepted only for 32 bits, where the usual masks are
    // the plain byte order.
    if (compression != 0 && !(compression == 3 && h.bits == 32))
      return std::nullopt;
    h.palette_count = le32(file, 46);
  } else {
    return std::nullopt;
  }
  if (h.height < 0) {
    h.top_down = true;
    h.height = -h.height;
  }
  if (h.width <= 0 || h.height <= 0 || h.width > kMaxSide || h.height > kMaxSide)
    return std::nullopt;
  if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 24 && h.bits != 32)
    return std::nullopt;
  if (h.bits <= 8) {
    std::size_t full = std::size_t{1} << h.bits;
    if (h.palette_count == 0 || h.palette_count > full)
      h.palette_count = full;
  } else {
    h.palette_count = 0;
  }
  h.palette_at = 14 + info_size;
  return h;
}

} // namespace

std::optional<Image> decode_bmp(std::span<const uint8_t> file) {
  auto h = read_header(file);
  if (!h)
    return std::nullopt;
  std::size_t pixels_at = le32(file, 10);
  std::size_t stride = ((static_cast<std::size_t>(h->width) * h->bits + 31) / 32) * 4;
  std::size_t palette_end = h->palette_at + h->palette_count * h->palette_entry;
  if (palette_end > file.size() || pixels_at > file.size() ||
      stride * static_cast<std::size_t>(h->height) > file.size() - pixels_at)
    return std::nullopt;

  std::vector<Rgb> palette;
  for (std::size_t i = 0; i < h->palette_count; ++i) {
    std::size_t at = h->palette_at + i * h->palette_entry;
    palette.push_back({file[at + 2], file[at + 1], file[at]});
  }

  Image image;
  image.width = static_cast<int>(h->width);
  image.height = static_cast<int>(h->height);
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    int stored_row = h->top_down ? y : image.height - 1 - y;
    std::span<const uint8_t> row = file.subspan(pixels_at + stored_row * stride, stride);
    for (int x = 0; x < image.width; ++x) {
      Rgb& p = image.pixels[static_cast<std::size_t>(y) * image.width + x];
      if (h->bits >= 24) {
        std::size_t at = static_cast<std::size_t>(x) * (h->bits / 8);
        p = {row[at + 2], row[at + 1], row[at]};
        continue;
      }
      std::size_t bit = static_cast<std::size_t>(x) * h->bits;
      unsigned index = (row[bit / 8] >> (8 - h->bits - bit % 8)) & ((1u << h->bits) - 1);
      // An index past the palette shows black rather than refusing the picture.
      p = index < palette.size() ? palette[index] : Rgb{};
    }
  }
  return image;
}

CellPicture to_cells(const Image& image, int cell_width, int cell_height) {
  CellPicture cells;
  if (image.width <= 0 || image.height <= 0 || cell_width <= 0 || cell_height < 2)
    return cells;
  cells.columns = (image.width + cell_width - 1) / cell_width;
  cells.rows = (image.height + cell_height - 1) / cell_height;
  auto average = [&](int x0, int y0, int x1, int y1) {
    x1 = std::min(x1, image.width);
    y1 = std::min(y1, image.height);
    if (x0 >= x1 || y0 >= y1)
      return Rgb{};
    unsigned long r = 0, g = 0, b = 0, n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        Rgb p = image.at(x, y);
        r += p.r;
        g += p.g;
        b += p.b;
        ++n;
      }
    return Rgb{static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n),
               static_cast<uint8_t>(b / n)};
  };
  int half = cell_height / 2;
  for (int row = 0; row < cells.rows; ++row)
    for (int column = 0; column < cells.columns; ++column) {
      int x = column * cell_width, y = row * cell_height;
      cells.upper.push_back(average(x, y, x + cell_width, y + half));
      Rgb lower = average(x, y + half, x + cell_width, y + cell_height);
      // A last row that covers only the upper half repeats it below.
      cells.lower.push_back(y + half < image.height ? lower : cells.upper.back());
    }
  return cells;
}

} // namespace qov::terminal
