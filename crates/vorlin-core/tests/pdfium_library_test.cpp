#include "vorlin_core/backend/pdfium_library.h"

#include <gtest/gtest.h>

#include "pdfium_test_pdf.h"

namespace vorlin_core {
namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(resolve_pdfium, missing_file_reports_the_loader_message) {
  auto api = resolve_pdfium("/nonexistent/dir/libpdfium.so");
  ASSERT_FALSE(api);
  EXPECT_EQ(api.error().kind, PdfError::Kind::LibraryUnavailable);
  EXPECT_TRUE(api.error().to_string().starts_with(
      "pdfium native library could not be loaded: /nonexistent/dir/libpdfium.so"))
      << api.error().to_string();
  EXPECT_TRUE(contains(api.error().message, "No such file")) << api.error().message;
}

TEST(resolve_pdfium, library_without_pdfium_symbols_names_the_first_missing_one) {
  // zlib is always present (libpng needs it) and exports no FPDF_ function.
  auto api = resolve_pdfium("libz.so.1");
  ASSERT_FALSE(api);
  EXPECT_EQ(api.error().kind, PdfError::Kind::LibraryUnavailable);
  EXPECT_TRUE(contains(api.error().message, "undefined symbol: FPDF_InitLibraryWithConfig"))
      << api.error().message;
}

class load_pdfium_once : public pdfium_test::WithPdfium {};

TEST_F(load_pdfium_once, first_successful_load_serves_every_later_path) {
  auto first = load_pdfium(*pdfium_test::pdfium_library());
  auto other = load_pdfium("/nonexistent/libpdfium.so");
  ASSERT_TRUE(first);
  ASSERT_TRUE(other);
  EXPECT_EQ(*first, *other);
}

}  // namespace
}  // namespace vorlin_core
