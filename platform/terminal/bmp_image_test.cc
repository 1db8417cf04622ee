#include "platform/terminal/bmp_image.h"

#include <gtest/gtest.h>

#include "tests/support/bmp_file.h"

namespace qov::terminal {
namespace {

using testing::bmp_24;
using testing::bmp_8;

constexpr Rgb kRed{200, 0, 0}, kBlue{0, 0, 200}, kWhite{255, 255, 255};

// Red on the left half, blue on the right, a white top row.
Rgb quarters(int x, int y) {
  if (y == 0)
    return kWhite;
  return x < 3 ? kRed : kBlue;
}

TEST(BmpImageTest, Decodes24BitBottomUpFiles) {
  auto image = decode_bmp(bmp_24(6, 4, quarters));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 6);
  EXPECT_EQ(image->height, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(image->at(x, y), quarters(x, y)) << x << "," << y;
}

TEST(BmpImageTest, Decodes8BitTopDownFilesThroughThePalette) {
  std::vector<Rgb> palette = {kWhite, kRed, kBlue};
  auto image = decode_bmp(bmp_8(5, 3, palette, [](int x, int y) {
    return static_cast<uint8_t>(y == 2 ? 7 : x % 3); // 7 lies past the palette
  }));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->at(0, 0), kWhite);
  EXPECT_EQ(image->at(1, 0), kRed);
  EXPECT_EQ(image->at(4, 1), kRed);
  EXPECT_EQ(image->at(2, 1), kBlue);
  EXPECT_EQ(image->at(3, 2), (Rgb{0, 0, 0}));
}

TEST(BmpImageTest, RefusesMalformedFiles) {
  std::vector<uint8_t> good = bmp_24(6, 4, quarters);
  auto with = [&](std::size_t at, std::vector<uint8_t> bytes) {
    std::vector<uint8_t> b = good;
    for (std::size_t i = 0; i < bytes.size(); ++i)
      b[at + i] = bytes[i];
    return b;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
  };
  std::vector<Case> cases = {
      {"empty", {}},
      {"not a bitmap", with(0, {'P', 'K'})},
      {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 30)},
      {"cut in the pixels", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"run-length compressed", with(30, {1})},
      {"16 bits a pixel", with(28, {16})},
      {"no width", with(18, {0, 0, 0, 0})},
      {"too wide", with(18, {0x01, 0x20, 0, 0})},
      {"pixels past the end", with(10, {0xff, 0xff, 0, 0})},
      {"unknown header size", with(14, {20})},
      {"palette past the end", with(28, {8})},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(decode_bmp(c.file)) << c.what;
}

TEST(BmpImageTest, CellsAverageTheirHalves) {
  auto image = decode_bmp(bmp_24(6, 4, quarters));
  ASSERT_TRUE(image);
  CellPicture cells = to_cells(*image, 3, 4);
  ASSERT_EQ(cells.columns, 2);
  ASSERT_EQ(cells.rows, 1);
  // Upper half: a white row and a red one.
  EXPECT_EQ(cells.upper_at(0, 0), (Rgb{227, 127, 127}));
  EXPECT_EQ(cells.lower_at(0, 0), kRed);
  EXPECT_EQ(cells.lower_at(1, 0), kBlue);
}

TEST(BmpImageTest, PartialCellsCoverWhatIsLeft) {
  auto image = decode_bmp(bmp_24(4, 3, [](int, int y) { return y < 2 ? kRed : kBlue; }));
  ASSERT_TRUE(image);
  CellPicture cells = to_cells(*image, 3, 4);
  EXPECT_EQ(cells.columns, 2);
  EXPECT_EQ(cells.rows, 1);
  EXPECT_EQ(cells.upper_at(1, 0), kRed);
  EXPECT_EQ(cells.lower_at(1, 0), kBlue);
}

} // namespace
} // namespace qov::terminal
