#include "vorlin_core/backend/pdfium_bitmap.h"

#include <gtest/gtest.h>

#include <tuple>

#include "vorlin_core/backend/pdfium_api.h"

namespace vorlin_core {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct PackCase {
  const char* name;
  int format;
  int width, height, stride;
  Bytes data;
  PngColour colour;
  Bytes expected;
};

class pack_bitmap_formats : public testing::TestWithParam<PackCase> {};

TEST_P(pack_bitmap_formats, packs_rows_in_png_order) {
  const PackCase& c = GetParam();
  auto pixels = pack_bitmap(BitmapView{c.format, c.width, c.height, c.stride, c.data});
  ASSERT_TRUE(pixels) << pixels.error();
  EXPECT_EQ(std::tuple(pixels->width, pixels->height, pixels->colour),
            std::tuple(std::uint32_t(c.width), std::uint32_t(c.height), c.colour));
  EXPECT_EQ(pixels->data, c.expected);
}

// Rows padded to the stride with 0xEE, which must never reach the output.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    table, pack_bitmap_formats,
    testing::Values(
        PackCase{"gray", pdfium::kBitmapGray, 2, 2, 4, {1, 2, 0xEE, 0xEE, 3, 4, 0xEE, 0xEE},
                 PngColour::Gray, {1, 2, 3, 4}},
        PackCase{"bgr", pdfium::kBitmapBgr, 2, 2, 8,
                 {0, 0, 255, 0, 255, 0, 0xEE, 0xEE, 255, 0, 0, 1, 2, 3, 0xEE, 0xEE},
                 PngColour::Rgb, {255, 0, 0, 0, 255, 0, 0, 0, 255, 3, 2, 1}},
        PackCase{"bgrx", pdfium::kBitmapBgrx, 1, 2, 8,
                 {10, 20, 30, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 40, 50, 60, 0xEE}, PngColour::Rgb,
                 {30, 20, 10, 60, 50, 40}},
        PackCase{"bgra", pdfium::kBitmapBgra, 2, 1, 8, {1, 2, 3, 4, 5, 6, 7, 8}, PngColour::Rgba,
                 {3, 2, 1, 4, 7, 6, 5, 8}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct RefuseCase {
  const char* name;
  BitmapView view;
};

class pack_bitmap_refuses : public testing::TestWithParam<RefuseCase> {};

const Bytes kEight(8, 0);

TEST_P(pack_bitmap_refuses, bad_input) { EXPECT_FALSE(pack_bitmap(GetParam().view)); }

INSTANTIATE_TEST_SUITE_P(
    table, pack_bitmap_refuses,
    testing::Values(RefuseCase{"premultiplied_format", {5, 1, 1, 4, kEight}},
                    RefuseCase{"no_width", {pdfium::kBitmapGray, 0, 1, 4, kEight}},
                    RefuseCase{"stride_below_row", {pdfium::kBitmapBgr, 2, 1, 5, kEight}},
                    RefuseCase{"buffer_short", {pdfium::kBitmapBgra, 2, 2, 8, kEight}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlin_core
