// Damaged files must come back as a document or an error, never as a crash;
// run under the sanitizer build, this also catches PDFium misuse on our side.

#include <gtest/gtest.h>

#include <random>

#include "pdfium_test_pdf.h"

namespace vorlin_core {
namespace {

using pdfium_test::OnePage;

// Reads everything the backend offers; failures must be the documented kinds. Returns the
// characters read.
std::size_t exercise(const std::string& pdf, const std::string& what) {
  SCOPED_TRACE(what);
  auto document = pdfium_test::WithPdfium::load(pdf);
  if (!document) {
    EXPECT_EQ(document.error().kind, PdfError::Kind::Rejected) << document.error().to_string();
    return 0;
  }
  const auto internal = [](const auto& result) {
    EXPECT_TRUE(result || result.error().kind == PdfError::Kind::Internal)
        << result.error().to_string();
  };
  std::size_t chars = 0;
  for (std::size_t index = 0; index < std::min<std::size_t>((*document)->page_count(), 3);
       ++index) {
    auto page = (*document)->page(index);
    internal(page);
    if (!page) continue;
    (*page)->size();
    const auto text = (*page)->chars();
    internal(text);
    chars += text ? text->size() : 0;
    internal((*page)->images());
    internal((*page)->render_png());
  }
  return chars;
}

class pdfium_robustness : public pdfium_test::WithPdfium {};

// Text over two lines, an image inside a form, a cropped and rotated page: every reader of the
// backend has something to do, cut short at 30 points and with 200 random bytes flipped.
TEST_F(pdfium_robustness, truncations_and_byte_flips_give_a_document_or_an_error) {
  const std::string pdf =
      OnePage{.entries = "/MediaBox [0 0 200 200] /CropBox [5 5 195 195] /Rotate 90",
              .resources = "/XObject << /Fm 7 0 R >>",
              .content = "BT /F1 1 Tf 12 0 0 12 20 150 Tm (Title) Tj 0 -2 Td (body text) Tj "
                         "ET q 1 0 0 1 50 20 cm /Fm Do Q",
              .objects = {pdfium_test::image_object(2, 1, "/DeviceRGB", "\x10\x20\x30\x40\x50\x60"),
                          pdfium_test::stream("/Type /XObject /Subtype /Form /BBox [0 0 100 100] "
                                              "/Resources << /XObject << /Im 6 0 R >> >>",
                                              "q 40 0 0 20 0 0 cm /Im Do Q")}}
          .pdf();
  ASSERT_EQ(exercise(pdf, "intact"), 14u);  // "Title" and "body text"
  for (std::size_t point = 0; point < 30; ++point) {
    exercise(pdf.substr(0, pdf.size() * point / 30), "prefix " + std::to_string(point) + "/30");
  }
  std::mt19937 random(20240607);  // fixed seed: a failure must be reproducible
  std::uniform_int_distribution<std::size_t> position(0, pdf.size() - 1);
  std::uniform_int_distribution<int> mask(1, 255);
  for (int flip = 0; flip < 200; ++flip) {
    std::string damaged = pdf;
    const std::size_t at = position(random);
    damaged[at] = static_cast<char>(damaged[at] ^ mask(random));
    exercise(damaged, "flip " + std::to_string(flip) + " at " + std::to_string(at));
  }
}

}  // namespace
}  // namespace vorlin_core
