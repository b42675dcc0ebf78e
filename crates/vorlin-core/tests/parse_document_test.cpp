#include "vorlin_core/pipeline/parse_document.h"

#include <gtest/gtest.h>
#include <spdlog/sinks/base_sink.h>

#include <filesystem>
#include <limits>
#include <mutex>

#include "support/fake_backend.h"
#include "support/temp_dir.h"
#include "vorlin_core/backend/builtin_backend.h"
#include "vorlin_core/pipeline/figure_output.h"
#include "vorlin_core/pipeline/log.h"

namespace vorlin_core {
namespace {

using testing_support::FakeBackend;
using testing_support::FakePage;
namespace fs = std::filesystem;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

using testing_support::TempDir;

// The missing and unreadable messages are pinned by the Python API tests; a NUL cannot reach
// this layer from there. A page that fails names its zero-based index; lists that fail leave
// their page empty.
TEST(parse_document, failures_of_the_path_a_page_and_its_lists) {
  TempDir dir;
  const std::string path = dir.file("a.pdf", "x"), with_nul = path + std::string("\0b", 2);
  auto nul = parse_document(with_nul, ParseOptions{}, BuiltinBackend{});
  ASSERT_FALSE(nul.has_value());
  EXPECT_EQ(nul.error().kind, ParseFailure::Kind::NotFound);
  EXPECT_EQ(nul.error().message, "PDF not found: " + with_nul);
  std::vector<FakePage> pages(3);
  pages[0].chars_fail = pages[0].images_fail = true;
  auto absorbed = parse_document(path, ParseOptions{}, FakeBackend(pages));
  ASSERT_TRUE(absorbed.has_value());
  EXPECT_EQ(absorbed->pages[1]->number, 2u);
  pages[1].page_error = PdfError::internal("cannot load");
  auto failed = parse_document(path, ParseOptions{}, FakeBackend(pages));
  ASSERT_FALSE(failed.has_value());
  EXPECT_EQ(failed.error().kind, ParseFailure::Kind::PageFailed);
  EXPECT_EQ(failed.error().message, "page 1: pdfium internal error: cannot load");
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
      {900, 600, {0, 0, 900, 600}, 900, 600, true},   {0, 0, {0, 0, 0, 0}, 0, 0, false},
      {kNaN, 800, {0, 0, 595, 842}, 595, 842, false}, {inf, 800, {0, 0, 595, 842}, 595, 842, true},
      {900, -1, {0, 0, 595, 842}, 595, 842, true},  // landscape reads the reported size
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

// Collects the payloads of the "_native" logger's events.
class CapturingSink final : public spdlog::sinks::base_sink<std::mutex> {
 public:
  std::vector<std::string> messages;

 protected:
  void sink_it_(const spdlog::details::log_msg& msg) override {
    messages.emplace_back(msg.payload.data(), msg.payload.size());
    EXPECT_EQ(msg.level, spdlog::level::warn);
    EXPECT_NE(msg.source.line, 0);
  }
  void flush_() override {}
};

// Both layouts hand figures back to the pipeline, which saves each image under its node's id.
class FigureFiles : public testing::TestWithParam<Layout> {
 protected:
  void SetUp() override { native_logger()->sinks().push_back(sink_); }
  void TearDown() override { native_logger()->sinks().clear(); }

  Document parse_with_images(std::optional<std::string> media_dir) {
    std::vector<FakePage> pages(2);
    pages[0].images = {testing_support::image_at(10, 10, 20, 20),
                       testing_support::image_at(30, 700, 40, 740)};
    ParseOptions options;
    options.media_dir = std::move(media_dir);
    auto document =
        parse_document(dir_.file("in.pdf", "%PDF"), options, FakeBackend(pages), {.layout = GetParam()});
    EXPECT_TRUE(document.has_value());
    return std::move(*document);
  }

  TempDir dir_;
  std::shared_ptr<CapturingSink> sink_ = std::make_shared<CapturingSink>();
};

// Failures warn once per figure and keep the nodes.
TEST_P(FigureFiles, nested_media_dir_gets_one_file_per_figure_and_failures_warn) {
  const std::string media = dir_.path() + "/a/b/";
  const Document document = parse_with_images(media);
  std::size_t figures = 0;
  for (const NodePtr& node : document.pages[0]->nodes) {
    if (node->kind != NodeKind::of(NodeKind::Tag::Figure)) continue;
    ++figures;
    EXPECT_EQ(fs::file_size(media + node->id.to_string() + ".png"), 7u);
  }
  EXPECT_EQ(figures, 2u);
  EXPECT_EQ(std::distance(fs::directory_iterator(media), fs::directory_iterator()), 2);
  EXPECT_TRUE(sink_->messages.empty());
  dir_.file("taken", "x");
  EXPECT_EQ(parse_with_images(dir_.path() + "/taken").pages[0]->nodes.size(), 2u);
  EXPECT_EQ(sink_->messages,
            std::vector<std::string>(2, "Failed to create media dir: File exists (os error 17)"));
}

INSTANTIATE_TEST_SUITE_P(layouts, FigureFiles, testing::Values(Layout::Spec, Layout::Enhanced));

TEST(write_figure_image, unwritable_file_warns) {
  auto sink = std::make_shared<CapturingSink>();
  native_logger()->sinks().push_back(sink);
  TempDir dir;
  // A directory squatting on the file name makes the write itself fail.
  const NodeId id = new_node_id();
  fs::create_directories(dir.path() + "/media/" + id.to_string() + ".png");
  write_figure_image(FigureOutput{dir.path() + "/media"}, id, std::vector<std::uint8_t>{1});
  native_logger()->sinks().clear();
  EXPECT_EQ(sink->messages,
            std::vector<std::string>{"Failed to write figure image: Is a directory (os error 21)"});
}

TEST(source_filename, last_normal_component) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"report.pdf//", "report.pdf"}, {"a/./b.pdf/.", "b.pdf"}, {"a/..", ""}, {"", ""},
      {"dir/bad\xff.pdf", "bad\xEF\xBF\xBD.pdf"},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(source_filename(path), name) << path;
}

}  // namespace
}  // namespace vorlin_core
