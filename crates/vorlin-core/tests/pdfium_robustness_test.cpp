// Damaged files must come back as a document or an error, never as a crash;
// run under the sanitizer build, this also catches PDFium misuse on our side.

#include <gtest/gtest.h>

#include <random>

#include "pdfium_test_pdf.h"

namespace vorlin_core {
namespace {

using pdfium_test::OnePage;

// Text over two lines, an image inside a form, a cropped and rotated page:
// every reader of the backend has something to do.
std::string valid_pdf() {
  return OnePage{
      .entries = "/MediaBox [0 0 200 200] /CropBox [5 5 195 195] /Rotate 90",
      .resources = "/XObject << /Fm 7 0 R >>",
      .content =
          "BT /F1 1 Tf 12 0 0 12 20 150 Tm (Title) Tj 0 -2 Td (body text) Tj "
          "ET q 1 0 0 1 50 20 cm /Fm Do Q",
      .objects = {pdfium_test::image_object(2, 1, "/DeviceRGB", "\x10\x20\x30\x40\x50\x60"),
                  pdfium_test::stream("/Type /XObject /Subtype /Form /BBox [0 0 100 100] "
                                      "/Resources << /XObject << /Im 6 0 R >> >>",
                                      "q 40 0 0 20 0 0 cm /Im Do Q")}}
      .pdf();
}

// Reads everything the backend offers; failures must be the documented kinds.
void exercise(const PdfBackend& backend, const std::string& path, const std::string& what) {
  SCOPED_TRACE(what);
  auto document = backend.open(path);
  if (!document) {
    EXPECT_EQ(document.error().kind, PdfError::Kind::Rejected) << document.error().to_string();
    return;
  }
  const auto internal = [](const auto& result) {
    EXPECT_TRUE(result || result.error().kind == PdfError::Kind::Internal)
        << result.error().to_string();
  };
  for (std::size_t index = 0; index < std::min<std::size_t>((*document)->page_count(), 3);
       ++index) {
    auto page = (*document)->page(index);
    internal(page);
    if (!page) continue;
    (*page)->size();
    internal((*page)->chars());
    internal((*page)->images());
    internal((*page)->render_png());
  }
}

class pdfium_robustness : public pdfium_test::WithPdfium {};

TEST_F(pdfium_robustness, valid_fixture_reads_fully) {
  pdfium_test::TempFile file(valid_pdf());
  auto document = backend().open(file.path());
  ASSERT_TRUE(document) << document.error().to_string();
  auto page = (*document)->page(0);
  ASSERT_TRUE(page);
  EXPECT_EQ((*page)->chars().value().size(), 14u);  // "Title" and "body text"
  EXPECT_EQ((*page)->images().value().size(), 1u);
}

TEST_F(pdfium_robustness, every_prefix_truncation_is_a_document_or_an_error) {
  const std::string pdf = valid_pdf();
  pdfium_test::TempFile file("");
  for (std::size_t point = 0; point < 30; ++point) {
    file.write(pdf.substr(0, pdf.size() * point / 30));
    exercise(backend(), file.path(), "prefix " + std::to_string(point) + "/30");
  }
}

TEST_F(pdfium_robustness, random_byte_flips_give_a_document_or_an_error) {
  const std::string pdf = valid_pdf();
  pdfium_test::TempFile file("");
  std::mt19937 random(20240607);  // fixed seed: a failure must be reproducible
  std::uniform_int_distribution<std::size_t> position(0, pdf.size() - 1);
  std::uniform_int_distribution<int> mask(1, 255);
  for (int flip = 0; flip < 200; ++flip) {
    std::string damaged = pdf;
    const std::size_t at = position(random);
    damaged[at] = static_cast<char>(damaged[at] ^ mask(random));
    file.write(damaged);
    exercise(backend(), file.path(), "flip " + std::to_string(flip) + " at " + std::to_string(at));
  }
}

}  // namespace
}  // namespace vorlin_core
