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

const std::u32string kLayer = U"a text layer of some thirty letters";
const std::u32string kUnmapped = U"\uFFFD\uFFFD\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD ab";

TEST(needs_ocr, decides) {
  const std::vector<Case> cases = {{"scan", OcrMode::Auto, U"", kScan, true},
                                   {"scan_with_a_stamp", OcrMode::Auto, U"page 7", kScan, true},
                                   {"scan_with_text_layer", OcrMode::Auto, kLayer, kScan, false},
                                   {"born_digital", OcrMode::Auto, kLayer, kLogo, false},
                                   {"picture_page_is_no_scan", OcrMode::Auto, U"", kPicture, false},
                                   {"unmapped_fonts", OcrMode::Auto, kUnmapped, kLogo, true},
                                   {"off", OcrMode::Off, U"", kScan, false},
                                   {"force", OcrMode::Force, kLayer, kLogo, true}};
  for (const Case& c : cases) {
    std::vector<PdfChar> chars;
    if (!c.text.empty()) add_text(chars, c.text, 72, 400);
    const BBox images[] = {c.image};
    EXPECT_EQ(needs_ocr(c.mode, chars, images, kPage), c.read) << c.name;
  }
}

}  // namespace
}  // namespace vorlin_core
