#include "vorlin_core/backend/pdfium_library.h"

#include <gtest/gtest.h>

#include "pdfium_test_pdf.h"

namespace vorlin_core {
namespace {

// zlib is always present (libpng needs it) and exports no FPDF_ function.
TEST(resolve_pdfium, failure_names_the_library_and_the_loader_reason) {
  for (const auto& [path, reason] :
       {std::pair<std::string, std::string>{"/nonexistent/dir/libpdfium.so",
                                            "/nonexistent/dir/libpdfium.so: cannot open shared "
                                            "object file: No such file or directory"},
        {"libz.so.1", "libz.so.1: undefined symbol: FPDF_InitLibraryWithConfig"}}) {
    auto api = resolve_pdfium(path);
    ASSERT_FALSE(api) << path;
    EXPECT_EQ(api.error().kind, PdfError::Kind::LibraryUnavailable);
    const std::string text = api.error().to_string();
    EXPECT_TRUE(text.starts_with("pdfium native library could not be loaded: ")) << text;
    EXPECT_TRUE(text.ends_with(reason)) << text;
  }
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
