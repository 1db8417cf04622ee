#include "tests/support/bmp_file.h"

namespace qov::testing {
namespace {

void put32(std::vector<uint8_t>& b, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void put16(std::vector<uint8_t>& b, std::size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// File and info headers for a file whose pixels start at `pixels_at`.
std::vector<uint8_t> headers(int width, int height, int bits, std::size_t pixels_at,
                             std::size_t pixel_bytes, uint32_t palette_count) {
  std::vector<uint8_t> b(pixels_at + pixel_bytes, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 2, static_cast<uint32_t>(b.size()));
  put32(b, 10, static_cast<uint32_t>(pixels_at));
  put32(b, 14, 40);
  put32(b, 18, static_cast<uint32_t>(width));
  put32(b, 22, static_cast<uint32_t>(height));
  put16(b, 26, 1);
  put16(b, 28, static_cast<uint16_t>(bits));
  put32(b, 46, palette_count);
  return b;
}

} // namespace

std::vector<uint8_t> bmp_24(int width, int height, const PixelAt& pixel) {
  std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> b = headers(width, height, 24, 54, stride * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      terminal::Rgb p = pixel(x, y);
      std::size_t at = 54 + (height - 1 - y) * stride + x * 3;
      b[at] = p.b;
      b[at + 1] = p.g;
      b[at + 2] = p.r;
    }
  return b;
}

std::vector<uint8_t> bmp_8(int width, int height, const std::vector<terminal::Rgb>& palette,
                           const std::function<uint8_t(int x, int y)>& index) {
  std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
  std::size_t pixels_at = 54 + 4 * palette.size();
  std::vector<uint8_t> b =
      headers(width, -height, 8, pixels_at, stride * height, static_cast<uint32_t>(palette.size()));
  for (std::size_t i = 0; i < palette.size(); ++i) {
    b[54 + 4 * i] = palette[i].b;
    b[54 + 4 * i + 1] = palette[i].g;
    b[54 + 4 * i + 2] = palette[i].r;
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b[pixels_at + y * stride + x] = index(x, y);
  return b;
}

} // namespace qov::testing
