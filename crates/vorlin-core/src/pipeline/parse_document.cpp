#include "vorlin_core/pipeline/parse_document.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>

#include "vorlin_core/backend/lossy_utf8.h"
#include "vorlin_core/backend/sha256.h"
#include "vorlin_core/backend/source_file.h"
#include "vorlin_core/ocr/ocr_decision.h"
#include "vorlin_core/pipeline/ocr_stage.h"

namespace vorlin_core {
namespace {

using Failure = std::unexpected<ParseFailure>;

// A hostile file may claim billions of pages; room grows as pages really arrive.
constexpr std::size_t kMaxReservedPages = 4096;

bool has_status(const std::string& path) {
  if (path.find('\0') != std::string::npos) return false;
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0;
}

// What the pipeline keeps of a backend page until the layout has decided.
struct PageFrame {
  float width;
  float height;
  BBox page_box;
};

std::vector<BBox> image_boxes(const std::vector<PdfImage>& images) {
  std::vector<BBox> boxes;
  boxes.reserve(images.size());
  for (const PdfImage& image : images)
    boxes.push_back(BBox{image.x0, image.y0, image.x1, image.y1});
  return boxes;
}

// `ocr` is null when the layout takes no OCR text.
PageFrame add_page(const PdfPage& backend_page, std::size_t index, LayoutStrategy& layout,
                   const std::optional<FigureOutput>& figures, OcrStage* ocr) {
  const auto [width, height] = backend_page.size();
  // A list the backend cannot give is analysed as empty.
  std::vector<PdfChar> chars = backend_page.chars().value_or(std::vector<PdfChar>{});
  std::vector<PdfImage> images = backend_page.images().value_or(std::vector<PdfImage>{});
  const std::vector<PdfPath> paths = layout.reads_paths()
                                         ? backend_page.paths().value_or(std::vector<PdfPath>{})
                                         : std::vector<PdfPath>{};
  const BBox page_box =
      BBox::create(0.0f, 0.0f, width, height).value_or(vorlin_geometry::DEFAULT_PAGE_BOX);
  std::optional<OcrPage> read =
      ocr ? ocr->read(backend_page, index, chars, image_boxes(images), page_box) : std::nullopt;
  if (read && !read->words.empty()) {
    chars = std::move(read->chars);
    // The scan's picture is the text now; a blank page's picture stays a figure.
    std::erase_if(images, [&page_box](const PdfImage& image) {
      return is_page_scan(BBox{image.x0, image.y0, image.x1, image.y1}, page_box);
    });
  }
  const std::vector<NodeId> figure_ids =
      layout.add_page(chars, paths, image_boxes(images), page_box);
  if (read && !read->words.empty()) layout.note_ocr(std::move(read->words));
  // Saved while the page is open: its images are decoded only now, and only when asked for.
  if (figures) {
    for (std::size_t i = 0; i < images.size(); ++i)
      save_figure(*figures, figure_ids.at(i), images[i]);
  }
  return PageFrame{width, height, page_box};
}

PagePtr build_page(const PageFrame& frame, PageContent content, std::uint32_t number) {
  auto page = std::make_shared<Page>();
  page->nodes = std::move(content.nodes);
  page->reading_order = std::move(content.reading_order);
  const bool usable_size = std::isfinite(frame.width) && std::isfinite(frame.height) &&
                           !(frame.width < 0) && !(frame.height < 0);
  page->width = usable_size ? frame.width : 595.0f;
  page->height = usable_size ? frame.height : 842.0f;
  page->bbox = frame.page_box;
  page->number = number;
  page->landscape = frame.width > frame.height;
  return page;
}

}  // namespace

std::string source_filename(const std::string& path) {
  std::string_view last;
  std::string_view rest = path;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view component = rest.substr(0, slash);
    if (!component.empty() && component != ".") last = component;
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  if (last.empty() || last == "..") return {};
  return lossy_utf8(last);
}

namespace {

std::expected<Document, ParseFailure> parse_source(SourceBytes source, std::string filename,
                                                   const ParseOptions& options,
                                                   const PdfBackend& backend,
                                                   const PipelineSettings& settings) {
  auto opened = backend.load(std::move(source.bytes));
  if (!opened) {
    return Failure(ParseFailure{ParseFailure::Kind::Rejected,
                                "failed to open PDF: " + opened.error().to_string()});
  }
  const std::unique_ptr<PdfDocument> pdf = std::move(*opened);
  const std::size_t page_count = pdf->page_count();

  std::optional<FigureOutput> figures;
  if (options.media_dir) {
    figures = FigureOutput{*options.media_dir, settings.max_image_pixels,
                           settings.name_paths_in_warnings};
  }
  const std::unique_ptr<LayoutStrategy> strategy = make_layout(settings.layout);
  if (settings.use_outline) strategy->use_bookmarks(pdf->bookmarks());
  std::optional<OcrStage> ocr;
  if (strategy->reads_ocr() && settings.ocr.mode != OcrMode::Off) {
    ocr.emplace(settings.ocr);
    if (auto usable = ocr->check(); !usable) {
      return Failure(ParseFailure{ParseFailure::Kind::OcrUnavailable, usable.error().message});
    }
  }
  std::vector<PageFrame> frames;
  frames.reserve(std::min(page_count, kMaxReservedPages));
  for (std::size_t index = 0; index < page_count; ++index) {
    if (settings.interrupted && settings.interrupted()) {
      return Failure(ParseFailure{ParseFailure::Kind::Interrupted, "interrupted"});
    }
    auto page = pdf->page(index);
    if (!page) {
      return Failure(
          ParseFailure{ParseFailure::Kind::PageFailed,
                       "page " + std::to_string(index) + ": " + page.error().to_string()});
    }
    frames.push_back(add_page(**page, index, *strategy, figures, ocr ? &*ocr : nullptr));
  }
  std::vector<PageContent> contents = strategy->finish();

  Document document;
  document.pages.reserve(page_count);
  for (std::size_t index = 0; index < page_count; ++index) {
    document.pages.push_back(build_page(frames[index], std::move(contents.at(index)),
                                        static_cast<std::uint32_t>(index + 1)));
  }
  document.source_sha256 = std::move(source.sha256);
  document.source_filename = std::move(filename);
  document.profile = options.profile;
  document.extra = strategy->metadata();
  return document;
}

}  // namespace

std::expected<Document, ParseFailure> parse_document(const std::string& path,
                                                     const ParseOptions& options,
                                                     const PdfBackend& backend,
                                                     const PipelineSettings& settings) {
  if (!has_status(path)) {
    return Failure(ParseFailure{ParseFailure::Kind::NotFound, "PDF not found: " + path});
  }
  auto source = read_source(path, backend.reads_content());
  if (!source) {
    return Failure(
        ParseFailure{ParseFailure::Kind::Unreadable,
                     "failed to open PDF: " + PdfError::io(path, source.error()).to_string()});
  }
  return parse_source(std::move(*source), source_filename(path), options, backend, settings);
}

std::expected<Document, ParseFailure> parse_document_bytes(std::vector<std::uint8_t> bytes,
                                                           const std::string& name,
                                                           const ParseOptions& options,
                                                           const PdfBackend& backend,
                                                           const PipelineSettings& settings) {
  SourceBytes source{{}, sha256_hex(bytes)};
  if (backend.reads_content()) source.bytes = std::move(bytes);
  return parse_source(std::move(source), lossy_utf8(name), options, backend, settings);
}

}  // namespace vorlin_core
