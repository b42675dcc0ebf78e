#include "vorlin_core/ocr/ocr_decision.h"

#include <gtest/gtest.h>

#include "support/fake_backend.h"

namespace vorlin_core {
namespace {

using testing_support::add_text;
using vorlin_geometry::BBox;

const BBox kPage{0, 0, 595, 842};
const BBox kScan{0, 0, 595, 842};
const BBox kLogo{72, 700, 200, 800};
const BBox kPicture{72, 112, 526, 768};  // a born-digital page that is one picture

struct Case {
  const char* name;
  OcrMode mode;
  std::u32string text;  // one line at the middle of the page
  BBox image;
  bool read;
};

class needs_ocr_cases : public testing::TestWithParam<Case> {};

TEST_P(needs_ocr_cases, decides) {
  const Case& c = GetParam();
  std::vector<PdfChar> chars;
  if (!c.text.empty()) add_text(chars, c.text, 72, 400);
  const BBox images[] = {c.image};
  EXPECT_EQ(needs_ocr(c.mode, chars, images, kPage), c.read);
}

const std::u32string kLayer = U"a text layer of some thirty letters";
const std::u32string kUnmapped = U"\uFFFD\uFFFD\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD ab";

INSTANTIATE_TEST_SUITE_P(
    ocr_decision, needs_ocr_cases,
    testing::Values(Case{"scan", OcrMode::Auto, U"", kScan, true},
                    Case{"scan_with_a_stamp", OcrMode::Auto, U"page 7", kScan, true},
                    Case{"scan_with_text_layer", OcrMode::Auto, kLayer, kScan, false},
                    Case{"born_digital", OcrMode::Auto, kLayer, kLogo, false},
                    Case{"picture_page_is_no_scan", OcrMode::Auto, U"", kPicture, false},
                    Case{"unmapped_fonts", OcrMode::Auto, kUnmapped, kLogo, true},
                    Case{"off", OcrMode::Off, U"", kScan, false},
                    Case{"force", OcrMode::Force, kLayer, kLogo, true}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace vorlin_core
