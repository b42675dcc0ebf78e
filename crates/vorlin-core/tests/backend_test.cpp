#include <gtest/gtest.h>
#include <png.h>

#include <cerrno>

#include "vorlin_core/backend/builtin_backend.h"
#include "vorlin_core/backend/lossy_utf8.h"
#include "vorlin_core/backend/pdf_error.h"
#include "vorlin_core/backend/system_error.h"

namespace vorlin_core {
namespace {

TEST(pdf_error, display_texts) {
  const std::vector<std::pair<PdfError, std::string>> cases = {
      {PdfError::library_unavailable("x"), "pdfium native library could not be loaded: x"},
      {PdfError::io("/tmp/a.pdf", std::error_code(ENOENT, std::system_category())),
       "failed to read PDF at /tmp/a.pdf: No such file or directory (os error 2)"},
      {PdfError::io("dir", std::error_code(EISDIR, std::system_category())),
       "failed to read PDF at dir: Is a directory (os error 21)"},
      {PdfError::io("fifo", SourceError::NotRegularFile),
       "failed to read PDF at fifo: not a regular file"},
      {PdfError::io("bad\xff.pdf", std::error_code(EACCES, std::system_category())),
       "failed to read PDF at bad\xEF\xBF\xBD.pdf: Permission denied (os error 13)"},
      {PdfError::rejected("not a PDF file or damaged"),
       "pdfium rejected the document: not a PDF file or damaged"},
      {PdfError::page_out_of_range(3, 1), "page index 3 is out of range (document has 1 pages)"},
      {PdfError::internal("boom"), "pdfium internal error: boom"},
  };
  for (const auto& [error, text] : cases) EXPECT_EQ(error.to_string(), text);
}

TEST(system_error_text, unknown_numbers_still_read) {
  EXPECT_EQ(system_error_text(std::error_code(99999, std::system_category())), "Unknown error 99999 (os error 99999)");
}

TEST(lossy_utf8, replaces_each_maximal_invalid_subsequence) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"plain", "plain"},
      {"caf\xC3\xA9", "caf\xC3\xA9"},
      {"\xFF", "\xEF\xBF\xBD"},
      {"a\xE2\x82", "a\xEF\xBF\xBD"},               // truncated 3-byte sequence: one mark
      {"\xE2\x82" "A", "\xEF\xBF\xBD" "A"},
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate: byte by byte
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},     // overlong
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(lossy_utf8(input), expected);
}

TEST(builtin_backend, one_blank_a4_page) {
  BuiltinBackend backend;
  EXPECT_EQ(backend.name(), "pure-rust");
  auto document = backend.open("/proc/self/status");
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ((*document)->page_count(), 1u);
  auto page = (*document)->page(0);
  ASSERT_TRUE(page.has_value());
  const auto [width, height] = (*page)->size();
  EXPECT_EQ(width, 595.27001953125f);
  EXPECT_EQ(height, 841.8900146484375f);
  EXPECT_TRUE((*page)->chars()->empty());
  EXPECT_TRUE((*page)->images()->empty());
  EXPECT_TRUE((*page)->annotations()->empty());
  EXPECT_EQ((*document)->page(1).error().to_string(),
            "page index 1 is out of range (document has 1 pages)");
}

TEST(builtin_backend, unreadable_paths_are_io_errors) {
  BuiltinBackend backend;
  EXPECT_EQ(backend.open("/").error().to_string(),
            "failed to read PDF at /: Is a directory (os error 21)");
  EXPECT_EQ(backend.open("/no/such/file.pdf").error().kind, PdfError::Kind::Io);
}

// Decodes a PNG from memory into RGBA bytes; returns the IHDR through the out-parameters.
std::vector<std::uint8_t> decode_rgba(const std::vector<std::uint8_t>& png, png_uint_32& width,
                                      png_uint_32& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  EXPECT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
  width = image.width;
  height = image.height;
  return pixels;
}

TEST(builtin_page, renders_one_transparent_pixel) {
  auto page = (*BuiltinBackend().open("/proc/self/status"))->page(0);
  auto png = (*page)->render_png();
  ASSERT_TRUE(png.has_value());
  // Signature, then the IHDR chunk: length 13, "IHDR", 1x1, depth 8, RGBA, no interlace.
  const std::vector<std::uint8_t> head(png->begin(), png->begin() + 33);
  const std::vector<std::uint8_t> expected_head = {
      0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1,
      0,    0,   0,   1,   8,    6,    0,    0,    0};
  EXPECT_TRUE(std::equal(expected_head.begin(), expected_head.end(), head.begin()));
  png_uint_32 width = 0, height = 0;
  EXPECT_EQ(decode_rgba(*png, width, height), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(width, 1u);
  EXPECT_EQ(height, 1u);
  // Only IHDR, IDAT and IEND: no ancillary chunks.
  std::vector<std::string> chunks;
  for (std::size_t at = 8; at + 8 <= png->size();) {
    const std::uint32_t length = (*png)[at] << 24 | (*png)[at + 1] << 16 | (*png)[at + 2] << 8 |
                                 (*png)[at + 3];
    chunks.emplace_back(png->begin() + at + 4, png->begin() + at + 8);
    at += 12 + length;
  }
  EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

}  // namespace
}  // namespace vorlin_core
