#include "vorlin_core/backend/pdfium_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "pdfium_test_pdf.h"
#include "vorlin_core/backend/pdfium_page_frame.h"

namespace vorlin_core {
namespace {

using pdfium_test::image_object;
using pdfium_test::OnePage;
using pdfium_test::stream;
using pdfium_test::WithPdfium;

// The value of a read that must succeed; an empty one after recording the failure.
template <class T>
T must(std::expected<T, PdfError> result) {
  if (!result) ADD_FAILURE() << result.error().to_string();
  return result ? std::move(*result) : T{};
}

// Reads pages of one-page PDFs; the page keeps its document open by itself.
class pdfium_page : public WithPdfium {
 protected:
  std::unique_ptr<PdfPage> page_of(const OnePage& layout) const {
    auto document = load(layout.pdf());
    auto page = document ? (*document)->page(0) : std::unexpected(document.error());
    if (!page) ADD_FAILURE() << page.error().to_string();
    return page ? std::move(*page) : nullptr;
  }
};

// ---------------------------------------------------------------- open

TEST_F(pdfium_page, rejections_name_pdfium_reason) {
  // A security handler whose check values match no password, and one PDFium does not know.
  const std::string encrypt =
      "/Encrypt 6 0 R /ID [<0123456789abcdef0123456789abcdef> <0123456789abcdef0123456789abcdef>]";
  const std::string unmatched = "<< /Filter /Standard /V 1 /R 2 /Length 40 /P -4 /O <" +
                                std::string(64, 'a') + "> /U <" + std::string(64, 'b') + "> >>";
  for (const auto& [pdf, reason] : std::vector<std::pair<std::string, std::string>>{
           {"%PDF-1.7\n", "not a PDF file or damaged"},
           {OnePage{.objects = {unmatched}}.pdf(encrypt), "password required or incorrect"},
           {OnePage{.objects = {"<< /Filter /NoSuchHandler /V 1 /R 2 /P -4 >>"}}.pdf(encrypt),
            "unsupported security scheme"}}) {
    auto document = load(pdf);
    ASSERT_FALSE(document) << reason;
    EXPECT_EQ(document.error().to_string(), "pdfium rejected the document: " + reason);
  }
}

TEST_F(pdfium_page, pages_answer_exactly_the_indices_below_the_count) {
  const std::string page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] >>";
  auto document = load(pdfium_test::make_pdf(
      {"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
       page, page}));
  ASSERT_TRUE(document) << document.error().to_string();
  ASSERT_EQ((*document)->page_count(), 2u);
  EXPECT_TRUE((*document)->page(1));
  EXPECT_EQ((*document)->page(2).error().to_string(),
            "page index 2 is out of range (document has 2 pages)");
}

// ---------------------------------------------------------------- chars

// What the fonts, the rendering mode and the text matrix say, character by character: the size
// takes in the text matrix and the CTM, PDFium joins a hyphenated word over a line break without a
// generated break, and a glyph name without a Unicode value still has a code, flagged ("?").
TEST_F(pdfium_page, carry_size_look_visibility_direction_hyphens_and_unmapped_glyphs) {
  auto page = page_of(
      {.fonts = "/F1 5 0 R /F2 6 0 R /F3 7 0 R /F4 8 0 R",
       .content = "BT /F1 1 Tf 12 0 0 12 72 700 Tm (a) Tj ET "
                  "q 0.5 0 0 0.5 0 0 cm BT /F2 24 Tf 144 1360 Td (b) Tj ET Q "
                  "BT /F3 12 Tf 72 660 Td (c) Tj ET q BT /F1 12 Tf 3 Tr 72 640 Td (d) Tj ET Q "
                  "BT /F1 12 Tf 0 1 -1 0 300 300 Tm (e) Tj ET "
                  "BT /F1 12 Tf 72 500 Td (con-) Tj 0 -14 Td (tinued words) Tj ET "
                  "BT /F4 12 Tf 72 400 Td (AB) Tj ET",
       .objects = {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-BoldOblique >>",
                   "<< /Type /Font /Subtype /Type1 /BaseFont /ABCDEF+Courier >>",
                   "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                   "/Encoding << /Differences [65 /g123] >> >>"}});
  ASSERT_TRUE(page);
  const auto chars = must(page->chars());
  ASSERT_GE(chars.size(), 4u);
  std::string looks;
  for (const PdfChar& ch : chars) {
    EXPECT_NEAR(ch.font_size, 12.0f, 1e-3) << char(ch.ch);
    looks += std::string(ch.space_before ? "_" : "") +
             (ch.line_end_hyphen   ? '~'
              : ch.ch == U'\uFFFD' ? '?'
                                   : char(ch.ch)) +
             (ch.bold ? "b" : "") + (ch.italic ? "i" : "") + (ch.monospace ? "m" : "") +
             (ch.invisible ? "v" : "") + (std::abs(ch.angle - 90) < 1 ? "r" : "") +
             (ch.hyphen_after ? "-" : "");
  }
  EXPECT_EQ(looks, "a_bbi_cm_dv_er_con-~tinued words_?B");
  EXPECT_EQ(chars[0].font_id, chars[3].font_id);
  EXPECT_NE(chars[0].font_id, chars[1].font_id);
}

// ---------------------------------------------------------------- rendered oracle

// The extent of non-white pixels of a rendered page, in page coordinates (y up).
RawBox ink_of(const PdfPage& page) {
  auto image = pdfium_test::decode_png(must(page.render_png()));
  RawBox ink{1e9, 1e9, -1e9, -1e9};
  for (std::uint32_t y = 0; image && y < image->height; ++y) {
    for (std::uint32_t x = 0; x < image->width; ++x) {
      if (image->pixels[(std::size_t{y} * image->width + x) * 3] > 128) continue;
      const double top = image->height - y;
      ink = {std::min(ink.x0, double(x)), std::min(ink.y0, top - 1), std::max(ink.x1, x + 1.0),
             std::max(ink.y1, top)};
    }
  }
  EXPECT_LT(ink.x0, ink.x1) << "nothing was drawn";
  return ink;
}

// A cropped page turned by each quarter turn: PDFium's own rendering says where
// things are, and the boxes we report must agree with it.
class pdfium_page_mapping : public pdfium_page, public testing::WithParamInterface<int> {
 protected:
  std::string page_entries() const {
    return "/MediaBox [0 0 400 500] /CropBox [20 30 380 480] /Rotate " +
           std::to_string(90 * GetParam());
  }
};

TEST_P(pdfium_page_mapping, size_is_turned_and_char_box_holds_the_rendered_glyph) {
  auto page = page_of({.entries = page_entries(), .content = "BT /F1 100 Tf 150 300 Td (H) Tj ET"});
  ASSERT_TRUE(page);
  const auto chars = must(page->chars());
  ASSERT_EQ(chars.size(), 1u);
  const bool turned = GetParam() % 2 == 1;
  EXPECT_EQ(page->size(), turned ? std::pair(450.0f, 360.0f) : std::pair(360.0f, 450.0f));
  const PdfChar& h = chars.front();
  const RawBox ink = ink_of(*page);
  EXPECT_GE(ink.x0, h.x0 - 1);
  EXPECT_GE(ink.y0, h.y0 - 1);
  EXPECT_LE(ink.x1, h.x1 + 1);
  EXPECT_LE(ink.y1, h.y1 + 1);
  // A loose box is larger than the ink, but not by a different order.
  EXPECT_GT((ink.x1 - ink.x0) * (ink.y1 - ink.y0), 0.3f * (h.x1 - h.x0) * (h.y1 - h.y0));
  EXPECT_NEAR(h.angle, (360 - 90 * GetParam()) % 360, 0.5f);
}

TEST_P(pdfium_page_mapping, image_in_nested_forms_is_where_it_is_drawn) {
  const auto form = [](const std::string& matrix, const std::string& inner,
                       const std::string& content) {
    return stream("/Type /XObject /Subtype /Form /BBox [0 0 300 300] /Matrix [" + matrix +
                      "] /Resources << /XObject << " + inner + " >> >>",
                  content);
  };
  auto page =
      page_of({.entries = page_entries(),
               .resources = "/XObject << /Fm 7 0 R >>",
               .content = "q 2 0 0 1.5 100 150 cm /Fm Do Q",
               .objects = {image_object(1, 1, "/DeviceGray", std::string(1, '\0')),
                           form("1.5 0 0 1 10 0", "/In 8 0 R", "q 1 0 0 1 5 5 cm /In Do Q"),
                           form("1 0 0 1 3 4", "/Im 6 0 R", "q 20 0 0 10 0 0 cm /Im Do Q")}});
  ASSERT_TRUE(page);
  const auto images = must(page->images());
  ASSERT_EQ(images.size(), 1u);
  const RawBox ink = ink_of(*page);
  const auto& image = images[0];
  EXPECT_NEAR(image.x0, ink.x0, 1.0);
  EXPECT_NEAR(image.y0, ink.y0, 1.0);
  EXPECT_NEAR(image.x1, ink.x1, 1.0);
  EXPECT_NEAR(image.y1, ink.y1, 1.0);
}

INSTANTIATE_TEST_SUITE_P(quarter_turns, pdfium_page_mapping, testing::Values(0, 1, 2, 3));

// ---------------------------------------------------------------- images

// Images are found without decoding; one that cannot be decoded fails only when its PNG is asked for.
TEST_F(pdfium_page, undecodable_image_keeps_its_box_and_fails_when_encoded) {
  auto page = page_of(
      {.resources = "/XObject << /Bad 6 0 R /Good 7 0 R >>",
       .content = "q 20 0 0 20 10 10 cm /Bad Do Q q 20 0 0 20 50 10 cm /Good Do Q",
       .objects = {image_object(20, 20, "/DeviceRGB", "not a jpeg at all", "/Filter /DCTDecode"),
                   image_object(2, 1, "/DeviceGray", "\x7f\x20")}});
  ASSERT_TRUE(page);
  const auto images = must(page->images());
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(std::tuple(images[0].x0, images[0].pixel_width, images[0].pixel_height),
            std::tuple(10.0f, 20u, 20u));
  EXPECT_FALSE(images[0].data.bytes());
  EXPECT_TRUE(images[1].data.bytes());
}

TEST_F(pdfium_page, forms_are_searched_fifteen_levels_deep) {
  for (const auto& [depth, expected] : {std::pair{1, 1u}, {15, 1u}, {16, 0u}}) {
    // An image at the bottom of a chain of `depth` nested forms.
    OnePage layout{.resources = "/XObject << /F0 7 0 R >>",
                   .content = "/F0 Do",
                   .objects = {image_object(1, 1, "/DeviceGray", "\x7f")}};
    for (int level = 1; level <= depth; ++level) {
      layout.objects.push_back(stream(
          "/Type /XObject /Subtype /Form /BBox [0 0 500 500] /Resources << /XObject << " +
              (level == depth ? "/Im 6 0 R" : "/F " + std::to_string(7 + level) + " 0 R") +
              " >> >>",
          level == depth ? "q 10 0 0 10 0 0 cm /Im Do Q" : "/F Do"));
    }
    auto page = page_of(layout);
    ASSERT_TRUE(page);
    EXPECT_EQ(must(page->images()).size(), expected) << "depth " << depth;
  }
}

// ---------------------------------------------------------------- render

// One pixel per point, rounded; a page too large to render is refused before allocating.
TEST_F(pdfium_page, blank_page_renders_white_and_oversized_is_refused) {
  auto blank = page_of({.entries = "/MediaBox [0 0 200.4 100.6]"});
  auto oversized = page_of({.entries = "/MediaBox [0 0 14400 14400]"});
  ASSERT_TRUE(blank && oversized);
  auto image = pdfium_test::decode_png(must(blank->render_png()));
  ASSERT_TRUE(image);
  EXPECT_EQ(std::pair(image->width, image->height), std::pair(200u, 101u));
  EXPECT_TRUE(std::ranges::all_of(image->pixels, [](auto v) { return v == 255; }));
  EXPECT_EQ(oversized->render_png().error().to_string(),
            "pdfium internal error: page size 14400 x 14400 cannot be rendered");
}

}  // namespace
}  // namespace vorlin_core
