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
    const std::string text = api.error().to_string();
    EXPECT_TRUE(text.starts_with("pdfium native library could not be loaded: ")) << text;
    EXPECT_TRUE(text.ends_with(reason)) << text;
  }
}

class pdfium_pool : public pdfium_test::WithPdfium {};

// Busy instances are never shared; an idle one is lent again whatever path the caller names.
TEST_F(pdfium_pool, lends_each_instance_to_one_holder_at_a_time) {
  auto first = lease_pdfium(*pdfium_test::pdfium_library());
  auto second = lease_pdfium(*pdfium_test::pdfium_library());
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->get(), second->get());
  const pdfium::PdfiumApi* returned = first->get();
  first->reset();
  auto again = lease_pdfium("/nonexistent/libpdfium.so");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->get(), returned);
}

}  // namespace
}  // namespace vorlin_core
