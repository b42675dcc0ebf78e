#include "vorlin_core/pipeline/analyse_page.h"
#include "vorlin_core/pipeline/figure_output.h"

#include <gtest/gtest.h>
#include <spdlog/sinks/base_sink.h>

#include <filesystem>
#include <fstream>
#include <mutex>

#include "support/fake_backend.h"
#include "vorlin_core/pipeline/log.h"
#include "vorlin_core/pipeline/parse_document.h"

namespace vorlin_core {
namespace {

using testing_support::FakeBackend;
using testing_support::FakePage;
using testing_support::text_run;
namespace fs = std::filesystem;
using Tag = NodeKind::Tag;

void append(std::vector<PdfChar>& chars, const std::vector<PdfChar>& more) {
  chars.insert(chars.end(), more.begin(), more.end());
}

PdfImage image_at(float x0, float y0, float x1, float y1) {
  return PdfImage{std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 1, 2, 3}, x0, y0, x1, y1, 1, 1};
}

// The nodes of a page as "type:content" in reading order.
std::vector<std::string> read_out(const PageContent& content) {
  std::vector<std::string> texts;
  for (const NodeId& id : content.reading_order) {
    for (const NodePtr& node : content.nodes) {
      if (node->id == id) texts.push_back(type_string(node->kind) + ":" + node->content);
    }
  }
  return texts;
}

// A report page: numeric label at the top, title, section heading, a letter-spaced
// heading, two columns on shared baselines and a page number at the foot.
std::vector<PdfChar> report_page_chars() {
  std::vector<PdfChar> chars;
  append(chars, text_run(U"2024", 500, 800, 14));
  append(chars, text_run(U"Annual Report", 72, 740, 24));
  append(chars, text_run(U"Introduction", 72, 690, 16));
  for (int row = 0; row < 3; ++row) {
    const float y = 660.0f - 14.0f * static_cast<float>(row);
    append(chars, text_run(U"left column text", 72, y, 10));
    append(chars, text_run(U"right column text", 320, y, 10));
  }
  append(chars, text_run(U"S U M M A R Y", 72, 560, 16));
  append(chars, text_run(U"closing words here", 72, 530, 10));
  append(chars, text_run(U"7", 297, 30, 10));
  return chars;
}

TEST(analyse_page, report_page_headings_paragraphs_and_noise) {
  const std::vector<PdfChar> chars = report_page_chars();
  const PageContent content = analyse_page(chars, {}, BBox{0, 0, 595, 842});
  EXPECT_EQ(read_out(content),
            (std::vector<std::string>{
                "heading-1:Annual Report",
                "heading-2:Introduction",
                "paragraph:left column text right column text left column text right column text "
                "left column text right column text",
                "heading-2:SUMMARY",
                "paragraph:closing words here",
            }));
  for (const NodePtr& node : content.nodes) {
    EXPECT_EQ(node->provenance.source, ProvenanceSource::Rust);
    EXPECT_EQ(node->provenance.confidence, 1.0f);
    EXPECT_FALSE(node->provenance.model.has_value());
    EXPECT_TRUE(node->children.empty());
  }
  // The paragraph's box is the union of its three lines across both columns.
  EXPECT_EQ(content.nodes[2]->bbox, (BBox{72, 632, 320 + 17 * 5.0f, 670}));
}

TEST(analyse_page, empty_page_has_no_nodes) {
  const PageContent content = analyse_page({}, {}, BBox{0, 0, 595, 842});
  EXPECT_TRUE(content.nodes.empty());
  EXPECT_TRUE(content.reading_order.empty());
}

TEST(analyse_page, blank_block_makes_no_node) {
  const std::vector<PdfChar> chars = text_run(U"   ", 72, 400, 10);
  EXPECT_TRUE(analyse_page(chars, {}, BBox{0, 0, 595, 842}).nodes.empty());
}

TEST(analyse_page, lone_image_is_the_whole_reading_order) {
  const std::vector<PdfImage> images = {image_at(100, 100, 300, 300)};
  const PageContent content = analyse_page({}, images, BBox{0, 0, 595, 842});
  ASSERT_EQ(content.nodes.size(), 1u);
  EXPECT_EQ(content.nodes[0]->kind, NodeKind::of(Tag::Figure));
  EXPECT_EQ(content.nodes[0]->content, "figure");
  EXPECT_EQ(content.nodes[0]->bbox, (BBox{100, 100, 300, 300}));
  EXPECT_EQ(content.reading_order, std::vector<NodeId>{content.nodes[0]->id});
}

TEST(analyse_page, creation_order_blocks_then_figure_reading_order_by_cuts) {
  std::vector<PdfChar> chars = text_run(U"upper block", 72, 700, 10);
  append(chars, text_run(U"lower block", 72, 300, 10));
  const std::vector<PdfImage> images = {image_at(350, 600, 550, 750)};
  const PageContent content = analyse_page(chars, images, BBox{0, 0, 595, 842});
  ASSERT_EQ(content.nodes.size(), 3u);
  EXPECT_EQ(content.nodes[0]->content, "upper block");
  EXPECT_EQ(content.nodes[1]->content, "lower block");
  EXPECT_EQ(content.nodes[2]->content, "figure");
  // Cut under the upper band first, then the upper band left to right.
  EXPECT_EQ(read_out(content), (std::vector<std::string>{"paragraph:upper block", "figure:figure",
                                                          "paragraph:lower block"}));
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

class figure_output : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorlin-figures-XXXXXX";
    root_ = ::mkdtemp(pattern);
    sink_ = std::make_shared<CapturingSink>();
    native_logger()->sinks().push_back(sink_);
  }
  void TearDown() override {
    native_logger()->sinks().clear();
    fs::remove_all(root_);
  }

  std::expected<Document, ParseFailure> parse_with_images(std::optional<std::string> media_dir) {
    std::vector<FakePage> pages(2);
    pages[0].images = {image_at(10, 10, 20, 20), image_at(30, 30, 40, 40)};
    std::ofstream(root_ + "/in.pdf") << "%PDF";
    ParseOptions options;
    options.media_dir = std::move(media_dir);
    return parse_document(root_ + "/in.pdf", options, FakeBackend(pages));
  }

  std::string root_;
  std::shared_ptr<CapturingSink> sink_;
};

TEST_F(figure_output, nested_media_dir_is_created_with_one_file_per_image) {
  const std::string media = root_ + "/a/b/";
  auto document = parse_with_images(media);
  ASSERT_TRUE(document.has_value());
  for (const NodePtr& node : document->pages[0]->nodes) {
    const fs::path file = media + node->id.to_string() + ".png";
    ASSERT_TRUE(fs::exists(file)) << file;
    EXPECT_EQ(fs::file_size(file), 7u);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(media), fs::directory_iterator()), 2);
  EXPECT_TRUE(sink_->messages.empty());
}

TEST_F(figure_output, media_dir_that_is_a_file_warns_once_per_image) {
  std::ofstream(root_ + "/taken") << "x";
  auto document = parse_with_images(root_ + "/taken");
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(document->pages[0]->nodes.size(), 2u);
  EXPECT_EQ(sink_->messages,
            std::vector<std::string>(2, "Failed to create media dir: File exists (os error 17)"));
}

TEST_F(figure_output, unwritable_file_warns_and_keeps_the_node) {
  // A directory squatting on the file name makes the write itself fail.
  auto document = parse_with_images(std::nullopt);
  ASSERT_TRUE(document.has_value());
  const NodeId id = new_node_id();
  fs::create_directories(root_ + "/media/" + id.to_string() + ".png");
  write_figure_image(FigureOutput{root_ + "/media"}, id, std::vector<std::uint8_t>{1});
  EXPECT_EQ(sink_->messages, std::vector<std::string>{
                                 "Failed to write figure image: Is a directory (os error 21)"});
}

TEST_F(figure_output, no_media_dir_writes_and_emits_nothing) {
  auto document = parse_with_images(std::nullopt);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(document->pages[0]->nodes.size(), 2u);
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
  EXPECT_TRUE(sink_->messages.empty());
}

}  // namespace
}  // namespace vorlin_core
