#include "vorlin_core/backend/pdfium_bitmap.h"

#include <gtest/gtest.h>

#include <tuple>

#include "vorlin_core/backend/pdfium_api.h"

namespace vorlin_core {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct PackCase {
  int format, width, height, stride;
  Bytes data;  // rows padded to the stride with 0xEE, which must never reach the output
  PngColour colour;
  Bytes expected;
};

TEST(pack_bitmap, packs_rows_in_png_order_and_refuses_what_it_cannot) {
  const std::vector<PackCase> cases = {
      {pdfium::kBitmapGray, 2, 2, 4, {1, 2, 0xEE, 0xEE, 3, 4, 0xEE, 0xEE}, PngColour::Gray,
       {1, 2, 3, 4}},
      {pdfium::kBitmapBgr, 2, 2, 8, {0, 0, 255, 0, 255, 0, 0xEE, 0xEE, 255, 0, 0, 1, 2, 3, 0xEE, 0xEE},
       PngColour::Rgb, {255, 0, 0, 0, 255, 0, 0, 0, 255, 3, 2, 1}},
      {pdfium::kBitmapBgrx, 1, 2, 8, {10, 20, 30, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 40, 50, 60, 0xEE},
       PngColour::Rgb, {30, 20, 10, 60, 50, 40}},
      {pdfium::kBitmapBgra, 2, 1, 8, {1, 2, 3, 4, 5, 6, 7, 8}, PngColour::Rgba,
       {3, 2, 1, 4, 7, 6, 5, 8}},
  };
  for (const PackCase& c : cases) {
    auto pixels = pack_bitmap(BitmapView{c.format, c.width, c.height, c.stride, c.data});
    ASSERT_TRUE(pixels) << pixels.error();
    EXPECT_EQ(std::tuple(pixels->width, pixels->height, pixels->colour),
              std::tuple(std::uint32_t(c.width), std::uint32_t(c.height), c.colour));
    EXPECT_EQ(pixels->data, c.expected) << "format " << c.format;
  }
  // Premultiplied, empty or short bitmaps are refused.
  const Bytes eight(8, 0);
  for (const BitmapView& view : {BitmapView{5, 1, 1, 4, eight},  // premultiplied BGRA
                                 BitmapView{pdfium::kBitmapGray, 0, 1, 4, eight},
                                 BitmapView{pdfium::kBitmapBgr, 2, 1, 5, eight},  // stride < row
                                 BitmapView{pdfium::kBitmapBgra, 2, 2, 8, eight}}) {
    EXPECT_FALSE(pack_bitmap(view)) << view.format << " " << view.width << "x" << view.height;
  }
}

}  // namespace
}  // namespace vorlin_core
