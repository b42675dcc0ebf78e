#include "vorlin_core/backend/pdfium_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "pdfium_test_pdf.h"

namespace vorlin_core {
namespace {

using pdfium_test::image_object;
using pdfium_test::OnePage;
using pdfium_test::stream;
using pdfium_test::TempFile;
using pdfium_test::WithPdfium;

// The value of a read that must succeed; an empty one after recording the failure.
template <class T>
T must(std::expected<T, PdfError> result) {
  if (!result) ADD_FAILURE() << result.error().to_string();
  return result ? std::move(*result) : T{};
}

std::u32string text_of(const std::vector<PdfChar>& chars) {
  std::u32string text;
  for (const PdfChar& ch : chars) text += ch.ch;
  return text;
}

// Reads pages of one-page PDFs; the page keeps its document open by itself.
class PdfiumPage : public WithPdfium {
 protected:
  std::unique_ptr<PdfPage> page_of(const OnePage& layout) const {
    TempFile file(layout.pdf());
    auto document = backend().open(file.path());
    auto page = document ? (*document)->page(0) : std::unexpected(document.error());
    if (!page) ADD_FAILURE() << page.error().to_string();
    return page ? std::move(*page) : nullptr;
  }
};

// ---------------------------------------------------------------- open

struct RejectCase {
  const char* name;
  std::string bytes;
  const char* reason;
};

// A standard security handler whose check values match no password.
const std::string kStandardEncryption = "<< /Filter /Standard /V 1 /R 2 /Length 40 /P -4 /O <" +
                                        std::string(64, 'a') + "> /U <" + std::string(64, 'b') +
                                        "> >>";
const std::string kEncryptTrailer =
    "/Encrypt 6 0 R /ID [<0123456789abcdef0123456789abcdef> <0123456789abcdef0123456789abcdef>]";

class pdfium_open_rejects : public WithPdfium, public testing::WithParamInterface<RejectCase> {};

TEST_P(pdfium_open_rejects, with_pdfium_reason) {
  TempFile file(GetParam().bytes);
  auto document = backend().open(file.path());
  ASSERT_FALSE(document);
  EXPECT_EQ(document.error().kind, PdfError::Kind::Rejected);
  EXPECT_EQ(document.error().to_string(),
            std::string("pdfium rejected the document: ") + GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    table, pdfium_open_rejects,
    testing::Values(
        RejectCase{"empty", "", "not a PDF file or damaged"},
        RejectCase{"random_bytes", std::string("\x8f\x01\xfe\x7a\x00\x33\xc4\x12", 8) + "%PDF",
                   "not a PDF file or damaged"},
        RejectCase{"header_only", "%PDF-1.7\n", "not a PDF file or damaged"},
        RejectCase{"wrong_password", OnePage{.objects = {kStandardEncryption}}.pdf(kEncryptTrailer),
                   "password required or incorrect"},
        RejectCase{"unknown_security_handler",
                   OnePage{.objects = {"<< /Filter /NoSuchHandler /V 1 /R 2 /P -4 >>"}}.pdf(
                       kEncryptTrailer),
                   "unsupported security scheme"}),
    [](const auto& info) { return std::string(info.param.name); });

class pdfium_open : public WithPdfium {};

TEST_F(pdfium_open, missing_file_is_io_with_the_system_error) {
  const std::string missing = testing::TempDir() + "vorlin_no_such_file.pdf";
  auto document = backend().open(missing);
  ASSERT_FALSE(document);
  EXPECT_EQ(document.error().to_string(),
            "failed to read PDF at " + missing + ": No such file or directory (os error 2)");
}

TEST_F(pdfium_open, pages_answer_exactly_the_indices_below_the_count) {
  const std::string page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 100 100] >>";
  TempFile file(
      pdfium_test::make_pdf({"<< /Type /Catalog /Pages 2 0 R >>",
                             "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>", page, page}));
  auto document = backend().open(file.path());
  ASSERT_TRUE(document) << document.error().to_string();
  ASSERT_EQ((*document)->page_count(), 2u);
  EXPECT_TRUE((*document)->page(1));
  auto beyond = (*document)->page(2);
  ASSERT_FALSE(beyond);
  EXPECT_EQ(beyond.error().to_string(), "page index 2 is out of range (document has 2 pages)");
}

// ---------------------------------------------------------------- chars

class pdfium_chars : public PdfiumPage {};

TEST_F(pdfium_chars, font_size_includes_text_matrix_and_ctm_without_generated_breaks) {
  auto page = page_of({.content = "BT /F1 1 Tf 12 0 0 12 72 700 Tm (Hi) Tj ET "
                                  "q 0.5 0 0 0.5 0 0 cm "
                                  "BT /F1 24 Tf 100 1000 Td (ab) Tj ET Q "
                                  "BT /F1 12 Tf 72 400 Td (cd) Tj "
                                  "0 -20 Td (ef) Tj ET"});
  ASSERT_TRUE(page);
  const auto chars = must(page->chars());
  EXPECT_EQ(text_of(chars), U"Hiabcdef");
  for (const PdfChar& ch : chars) EXPECT_NEAR(ch.font_size, 12.0f, 1e-3) << char(ch.ch);
}

// What the fonts, the rendering mode and the text matrix say, character by character; PDFium
// joins a hyphenated word over a line break without a generated break.
TEST_F(pdfium_chars, carry_font_look_visibility_direction_and_line_end_hyphens) {
  auto page = page_of(
      {.fonts = "/F1 5 0 R /F2 6 0 R /F3 7 0 R",
       .content = "BT /F1 12 Tf 72 700 Td (a) Tj ET BT /F2 12 Tf 72 680 Td (b) Tj ET "
                  "BT /F3 12 Tf 72 660 Td (c) Tj ET q BT /F1 12 Tf 3 Tr 72 640 Td (d) Tj ET Q "
                  "BT /F1 12 Tf 0 1 -1 0 300 300 Tm (e) Tj ET "
                  "BT /F1 12 Tf 72 500 Td (con-) Tj 0 -14 Td (tinued words) Tj ET",
       .objects = {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-BoldOblique >>",
                   "<< /Type /Font /Subtype /Type1 /BaseFont /ABCDEF+Courier >>"}});
  ASSERT_TRUE(page);
  const auto chars = must(page->chars());
  ASSERT_GE(chars.size(), 4u);
  std::string looks;
  for (const PdfChar& ch : chars) {
    looks += std::string(ch.space_before ? "_" : "") + (ch.line_end_hyphen ? '~' : char(ch.ch)) +
             (ch.bold ? "b" : "") + (ch.italic ? "i" : "") + (ch.monospace ? "m" : "") +
             (ch.invisible ? "v" : "") + (std::abs(ch.angle - 90) < 1 ? "r" : "") +
             (ch.hyphen_after ? "-" : "");
  }
  EXPECT_EQ(looks, "a_bbi_cm_dv_er_con-~tinued words");
  EXPECT_EQ(chars[0].font_id, chars[3].font_id);
  EXPECT_NE(chars[0].font_id, chars[1].font_id);
}

TEST_F(pdfium_chars, surrogates_join_and_unmapped_glyphs_become_replacements) {
  const std::string to_unicode =
      stream("",
             "/CIDInit /ProcSet findresource begin 12 dict begin begincmap /CMapName /T def "
             "1 begincodespacerange <00> <FF> endcodespacerange "
             "2 beginbfchar <41> <D835DC00> <42> <DBFF> endbfchar endcmap "
             "CMapName currentdict /CMap defineresource pop end end");
  auto page = page_of(
      {.fonts = "/F2 6 0 R /F3 8 0 R",
       .content = "BT /F2 12 Tf 72 700 Td (AB) Tj ET BT /F3 12 Tf 72 600 Td (AB) Tj ET",
       .objects = {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /ToUnicode 7 0 R >>",
                   to_unicode,
                   "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                   "/Encoding << /Differences [65 /g123] >> >>"}});
  ASSERT_TRUE(page);
  EXPECT_EQ(text_of(must(page->chars())), U"\U0001D400\uFFFD\uFFFDB");
}

// ---------------------------------------------------------------- rendered oracle

// The extent of non-white pixels of a rendered page, in page coordinates (y up).
struct Ink {
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
};

Ink ink_of(const PdfPage& page) {
  auto image = pdfium_test::decode_png(must(page.render_png()));
  Ink ink;
  for (std::uint32_t y = 0; image && y < image->height; ++y) {
    for (std::uint32_t x = 0; x < image->width; ++x) {
      if (image->at(x, y)[0] > 128) continue;
      const float top = static_cast<float>(image->height - y);
      ink = {std::min(ink.x0, float(x)), std::min(ink.y0, top - 1), std::max(ink.x1, x + 1.0f),
             std::max(ink.y1, top)};
    }
  }
  EXPECT_LT(ink.x0, ink.x1) << "nothing was drawn";
  return ink;
}

// A cropped page turned by each quarter turn: PDFium's own rendering says where
// things are, and the boxes we report must agree with it.
class pdfium_page_mapping : public PdfiumPage, public testing::WithParamInterface<int> {
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
  const Ink ink = ink_of(*page);
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
  const Ink ink = ink_of(*page);
  EXPECT_NEAR(images[0].x0, ink.x0, 1.0f);
  EXPECT_NEAR(images[0].y0, ink.y0, 1.0f);
  EXPECT_NEAR(images[0].x1, ink.x1, 1.0f);
  EXPECT_NEAR(images[0].y1, ink.y1, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(quarter_turns, pdfium_page_mapping, testing::Values(0, 1, 2, 3));

// ---------------------------------------------------------------- images

class pdfium_images : public PdfiumPage {};

// Images are found without decoding; one that cannot be decoded fails only when its PNG is asked for.
TEST_F(pdfium_images, undecodable_image_keeps_its_box_and_fails_when_encoded) {
  auto page = page_of(
      {.resources = "/XObject << /Bad 6 0 R /Good 7 0 R >>",
       .content = "q 20 0 0 20 10 10 cm /Bad Do Q q 20 0 0 20 50 10 cm /Good Do Q",
       .objects = {image_object(20, 20, "/DeviceRGB", "not a jpeg at all", "/Filter /DCTDecode"),
                   image_object(2, 1, "/DeviceGray", "\x7f\x20")}});
  ASSERT_TRUE(page);
  const auto images = must(page->images());
  ASSERT_EQ(images.size(), 2u);
  EXPECT_FLOAT_EQ(images[0].x0, 10.0f);
  EXPECT_EQ(std::pair(images[0].pixel_width, images[0].pixel_height), std::pair(20u, 20u));
  EXPECT_FALSE(images[0].data.bytes());
  EXPECT_FLOAT_EQ(images[1].x0, 50.0f);
  EXPECT_EQ(std::pair(images[1].pixel_width, images[1].pixel_height), std::pair(2u, 1u));
  auto decoded = pdfium_test::decode_png(must(images[1].data.bytes()));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->rgb, (std::vector<std::uint8_t>{0x7f, 0x7f, 0x7f, 0x20, 0x20, 0x20}));
}

// An image at the bottom of a chain of `depth` nested forms.
OnePage nested_forms(int depth) {
  OnePage page{.resources = "/XObject << /F0 7 0 R >>",
               .content = "/F0 Do",
               .objects = {image_object(1, 1, "/DeviceGray", "\x7f")}};
  for (int level = 0; level < depth; ++level) {
    const bool innermost = level + 1 == depth;
    page.objects.push_back(stream(
        "/Type /XObject /Subtype /Form /BBox [0 0 500 500] /Resources << /XObject << " +
            (innermost ? "/Im 6 0 R" : "/F " + std::to_string(8 + level) + " 0 R") + " >> >>",
        innermost ? "q 10 0 0 10 0 0 cm /Im Do Q" : "/F Do"));
  }
  return page;
}

TEST_F(pdfium_images, forms_are_searched_fifteen_levels_deep) {
  for (const auto& [depth, expected] : {std::pair{1, 1u}, {15, 1u}, {16, 0u}}) {
    auto page = page_of(nested_forms(depth));
    ASSERT_TRUE(page);
    EXPECT_EQ(must(page->images()).size(), expected) << "depth " << depth;
  }
}

// ---------------------------------------------------------------- render

class pdfium_render : public PdfiumPage {};

TEST_F(pdfium_render, blank_page_is_white_at_one_pixel_per_point) {
  auto page = page_of({.entries = "/MediaBox [0 0 200.4 100.6]"});
  ASSERT_TRUE(page);
  auto image = pdfium_test::decode_png(must(page->render_png()));
  ASSERT_TRUE(image);
  EXPECT_EQ(std::pair(image->width, image->height), std::pair(200u, 101u));
  EXPECT_TRUE(std::ranges::all_of(image->rgb, [](auto v) { return v == 255; }));
  EXPECT_TRUE(must(page->annotations()).empty());
}

TEST_F(pdfium_render, oversized_page_is_refused_before_allocating) {
  auto page = page_of({.entries = "/MediaBox [0 0 14400 14400]"});
  ASSERT_TRUE(page);
  auto png = page->render_png();
  ASSERT_FALSE(png);
  EXPECT_EQ(png.error().to_string(),
            "pdfium internal error: page size 14400 x 14400 cannot be rendered");
}

// ---------------------------------------------------------------- threads

// PDFium shares font caches between documents: if two threads ever reached
// the same instance this would crash within a few rounds.
class pdfium_instances : public WithPdfium {};

TEST_F(pdfium_instances, concurrent_documents_read_and_render) {
  TempFile file(OnePage{.entries = "/MediaBox [0 0 150 60]",
                        .content = "BT /F1 12 Tf 10 40 Td (concurrent text) Tj "
                                   "0 -20 Td (line two) Tj ET"}
                    .pdf());
  const PdfiumBackend shared = backend();
  constexpr int kRounds = 10;
  std::vector<int> good_rounds(6, 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < good_rounds.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        auto document = shared.open(file.path());
        auto page = document ? (*document)->page(0) : std::unexpected(document.error());
        auto chars = page ? (*page)->chars() : std::unexpected(page.error());
        if (chars && text_of(*chars) == U"concurrent textline two" && (*page)->render_png()) {
          ++good_rounds[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const int good : good_rounds) EXPECT_EQ(good, kRounds);
}

}  // namespace
}  // namespace vorlin_core
