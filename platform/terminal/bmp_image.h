// Uncompressed Windows bitmaps (BMP files) and their downscaling to the
// colour cells of a terminal.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qov::terminal {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct Image {
  int width = 0, height = 0;
  std::vector<Rgb> pixels; // row by row, top row first

  Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Decodes a BMP file: 1, 4, 8, 24 and 32 bits per pixel, uncompressed,
// bottom-up or top-down. Nothing for anything else, for a file cut short, or
// for an image larger than 4096 x 4096 pixels.
std::optional<Image> decode_bmp(std::span<const uint8_t> file);

// An image as terminal cells: each cell stands for a block of pixels and
// shows its upper and lower half in two colours (a half-block character).
struct CellPicture {
  int columns = 0, rows = 0;
  std::vector<Rgb> upper, lower; // row by row

  Rgb upper_at(int column, int row) const {
    return upper[static_cast<std::size_t>(row) * columns + column];
  }
  Rgb lower_at(int column, int row) const {
    return lower[static_cast<std::size_t>(row) * columns + column];
  }
};

// Averages blocks of `cell_width` x `cell_height` pixels into cells; the
// last column and row may cover fewer pixels.
CellPicture to_cells(const Image& image, int cell_width, int cell_height);

// A cell is 8 pixels wide and 16 high: a 640 x 480 board fills 80 x 30 cells.
inline constexpr int kCellWidthPixels = 8;
inline constexpr int kCellHeightPixels = 16;

} // namespace qov::terminal
