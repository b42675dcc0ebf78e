#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "pdfium_test_pdf.h"
#include "vorlin_core/backend/builtin_backend.h"
#include "vorlin_core/backend/lossy_utf8.h"
#include "vorlin_core/backend/pdf_error.h"
#include "vorlin_core/backend/png_writer.h"
#include "vorlin_core/backend/system_error.h"

namespace vorlin_core {
namespace {

// The texts the Python layer does not pin: the system's message, and a path that is not UTF-8.
TEST(pdf_error, io_texts) {
  EXPECT_EQ(PdfError::io("/tmp/a.pdf", std::error_code(ENOENT, std::system_category())).to_string(),
            "failed to read PDF at /tmp/a.pdf: No such file or directory (os error 2)");
  EXPECT_EQ(PdfError::io("bad\xff.pdf", std::error_code(EACCES, std::system_category())).to_string(),
            "failed to read PDF at bad\xEF\xBF\xBD.pdf: Permission denied (os error 13)");
  EXPECT_EQ(system_error_text(std::error_code(99999, std::system_category())),
            "Unknown error 99999 (os error 99999)");
}

TEST(lossy_utf8, replaces_each_maximal_invalid_subsequence) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"caf\xC3\xA9\xF0\x9F\x98\x80", "caf\xC3\xA9\xF0\x9F\x98\x80"},
      {"\xFF", "\xEF\xBF\xBD"},
      {"a\xE2\x82", "a\xEF\xBF\xBD"},               // truncated 3-byte sequence: one mark
      {"\xE2\x82" "A", "\xEF\xBF\xBD" "A"},
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate: byte by byte
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},     // overlong
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(lossy_utf8(input), expected);
}

// One blank A4 page, rendered as one transparent pixel without ancillary chunks.
TEST(builtin_backend, one_blank_a4_page_of_one_transparent_pixel) {
  auto document = BuiltinBackend().open("/proc/self/status");
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ((*document)->page_count(), 1u);
  auto page = (*document)->page(0);
  ASSERT_TRUE(page.has_value());
  EXPECT_EQ((*page)->size(), std::pair(595.27001953125f, 841.8900146484375f));
  EXPECT_EQ((*document)->page(1).error().to_string(),
            "page index 1 is out of range (document has 1 pages)");
  auto png = (*page)->render_png();
  ASSERT_TRUE(png.has_value());
  const auto image = pdfium_test::decode_png(*png, PNG_FORMAT_RGBA);
  ASSERT_TRUE(image);
  EXPECT_EQ(std::pair(image->width, image->height), std::pair(1u, 1u));
  EXPECT_EQ(image->pixels, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  std::vector<std::string> chunks;
  for (std::size_t at = 8; at + 8 <= png->size();) {
    const std::uint32_t length = (*png)[at] << 24 | (*png)[at + 1] << 16 | (*png)[at + 2] << 8 |
                                 (*png)[at + 3];
    chunks.emplace_back(png->begin() + at + 4, png->begin() + at + 8);
    at += 12 + length;
  }
  EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

// Noise over gradients, so that every row filter wins somewhere; a reference decoder must get
// the pixels back exactly, with the stride's padding skipped.
TEST(encode_png, round_trips_through_libpng) {
  const std::pair<PngColour, std::uint32_t> formats[] = {
      {PngColour::Gray, PNG_FORMAT_GRAY}, {PngColour::Rgb, PNG_FORMAT_RGB},
      {PngColour::Rgba, PNG_FORMAT_RGBA}};
  for (const auto& [colour, format] : formats) {
    const std::uint32_t width = 61, height = 47;
    const std::size_t bpp = PNG_IMAGE_PIXEL_CHANNELS(format), stride = width * bpp + 5;
    std::vector<std::uint8_t> pixels(stride * height);
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      noise = noise * 1103515245 + 12345;
      const std::size_t x = i % stride, y = i / stride;
      pixels[i] = static_cast<std::uint8_t>((y % 3 ? x * y : x + 7 * y) + (noise >> 29));
    }
    auto png = encode_png(PngPixels{width, height, colour, stride, pixels});
    ASSERT_TRUE(png.has_value()) << png.error();
    const auto decoded = pdfium_test::decode_png(*png, format);
    ASSERT_TRUE(decoded);
    for (std::uint32_t y = 0; y < height; ++y) {
      ASSERT_TRUE(std::equal(decoded->pixels.begin() + y * width * bpp,
                             decoded->pixels.begin() + (y + 1) * width * bpp,
                             pixels.begin() + y * stride))
          << "row " << y;
    }
  }
}

}  // namespace
}  // namespace vorlin_core
