#include "vorlin_core/pipeline/parse_document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "support/fake_backend.h"
#include "vorlin_core/backend/builtin_backend.h"

namespace vorlin_core {
namespace {

using testing_support::FakeBackend;
using testing_support::FakePage;
namespace fs = std::filesystem;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr const char* kEmptySha256 =
    "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/vorlin-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TempDir() { fs::remove_all(path_); }
  std::string file(const std::string& name, const std::string& bytes) const {
    const std::string path = path_ + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(parse_document, builtin_backend_reads_any_file_as_one_blank_page) {
  TempDir dir;
  const std::string path = dir.file("notes.pdf", "abc");
  auto document = parse_document(path, ParseOptions{}, BuiltinBackend{});
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(document->source_sha256,
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(document->source_filename, "notes.pdf");
  EXPECT_EQ(document->schema_version, "0.1.1");
  EXPECT_EQ(document->profile, "balanced");
  EXPECT_TRUE(document->extra.empty());
  ASSERT_EQ(document->pages.size(), 1u);
  const Page& page = *document->pages[0];
  EXPECT_EQ(page.width, 595.27f);
  EXPECT_EQ(page.height, 841.89f);
  EXPECT_EQ(page.bbox, (BBox{0, 0, 595.27f, 841.89f}));
  EXPECT_EQ(page.number, 1u);
  EXPECT_FALSE(page.landscape);
  EXPECT_TRUE(page.nodes.empty());
  EXPECT_TRUE(page.reading_order.empty());
}

TEST(parse_document, empty_file_hashes_no_bytes_and_profile_is_copied_unvalidated) {
  TempDir dir;
  ParseOptions options;
  options.profile = "anything at all";
  auto document = parse_document(dir.file("empty.pdf", ""), options, BuiltinBackend{});
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(document->source_sha256, kEmptySha256);
  EXPECT_EQ(document->profile, "anything at all");
}

TEST(parse_document, failures_carry_class_and_message) {
  TempDir dir;
  using Kind = ParseFailure::Kind;
  const std::string missing = dir.path() + "/missing.pdf";
  const std::string with_nul = dir.file("a.pdf", "x") + std::string("\0b", 2);
  const std::vector<std::tuple<std::string, Kind, std::string>> cases = {
      {missing, Kind::NotFound, "PDF not found: " + missing},
      {"relative/missing.pdf", Kind::NotFound, "PDF not found: relative/missing.pdf"},
      {with_nul, Kind::NotFound, "PDF not found: " + with_nul},
      {dir.path(), Kind::Unreadable,
       "failed to open PDF: failed to read PDF at " + dir.path() +
           ": Is a directory (os error 21)"},
  };
  for (const auto& [path, kind, message] : cases) {
    auto result = parse_document(path, ParseOptions{}, BuiltinBackend{});
    ASSERT_FALSE(result.has_value()) << path;
    EXPECT_EQ(result.error().kind, kind);
    EXPECT_EQ(result.error().message, message);
  }
}

TEST(parse_document, page_failure_names_the_zero_based_index) {
  TempDir dir;
  std::vector<FakePage> pages(3);
  pages[1].page_error = PdfError::internal("cannot load");
  auto result = parse_document(dir.file("a.pdf", "x"), ParseOptions{}, FakeBackend(pages));
  ASSERT_FALSE(result.has_value());
  EXPECT_EQ(result.error().kind, ParseFailure::Kind::PageFailed);
  EXPECT_EQ(result.error().message, "page 1: pdfium internal error: cannot load");
}

TEST(parse_document, failing_lists_are_absorbed) {
  TempDir dir;
  std::vector<FakePage> pages(2);
  pages[0].chars_fail = true;
  pages[0].images_fail = true;
  auto result = parse_document(dir.file("a.pdf", "x"), ParseOptions{}, FakeBackend(pages));
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->pages.size(), 2u);
  EXPECT_EQ(result->pages[1]->number, 2u);
}

struct SizeCase {
  float width, height;
  BBox bbox;
  float stored_width, stored_height;
  bool landscape;
};

TEST(parse_document, page_size_rules) {
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<SizeCase> cases = {
      {900, 600, {0, 0, 900, 600}, 900, 600, true},
      {0, 0, {0, 0, 0, 0}, 0, 0, false},
      {kNaN, 800, {0, 0, 595, 842}, 595, 842, false},
      {-10, 800, {0, 0, 595, 842}, 595, 842, false},
      {900, -1, {0, 0, 595, 842}, 595, 842, true},  // landscape reads the reported size
      {inf, 800, {0, 0, 595, 842}, 595, 842, true},
  };
  TempDir dir;
  const std::string path = dir.file("a.pdf", "x");
  for (const SizeCase& c : cases) {
    std::vector<FakePage> pages(1);
    pages[0].width = c.width;
    pages[0].height = c.height;
    auto result = parse_document(path, ParseOptions{}, FakeBackend(pages));
    ASSERT_TRUE(result.has_value());
    const Page& page = *result->pages[0];
    EXPECT_EQ(page.bbox, c.bbox) << c.width << "x" << c.height;
    EXPECT_EQ(page.width, c.stored_width);
    EXPECT_EQ(page.height, c.stored_height);
    EXPECT_EQ(page.landscape, c.landscape);
  }
}

TEST(source_filename, last_normal_component) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/data/in/report.pdf", "report.pdf"},
      {"report.pdf/", "report.pdf"},
      {"report.pdf//", "report.pdf"},
      {"a/./b.pdf/.", "b.pdf"},
      {"..", ""},
      {"a/..", ""},
      {"/", ""},
      {"", ""},
      {".", ""},
      {"dir/bad\xff.pdf", "bad\xEF\xBF\xBD.pdf"},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(source_filename(path), name) << path;
}

}  // namespace
}  // namespace vorlin_core
