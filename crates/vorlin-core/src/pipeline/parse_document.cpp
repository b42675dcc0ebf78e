#include "vorlin_core/pipeline/parse_document.h"

#include <openssl/evp.h>
#include <sys/stat.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "vorlin_core/backend/file_bytes.h"
#include "vorlin_core/backend/lossy_utf8.h"
#include "vorlin_core/backend/system_error.h"
#include "vorlin_core/pipeline/figure_output.h"

namespace vorlin_core {
namespace {

using Failure = std::unexpected<ParseFailure>;

Failure value_error(std::string message) {
  return Failure(ParseFailure{ParseFailure::ExceptionClass::ValueError, std::move(message)});
}

bool has_status(const std::string& path) {
  if (path.find('\0') != std::string::npos) return false;
  struct stat status{};
  return ::stat(path.c_str(), &status) == 0;
}

// SHA-256 of the file as 64 lowercase hex digits, or errno.
std::expected<std::string, int> file_sha256(const std::string& path) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                  EVP_MD_CTX_free);
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 is unavailable");
  }
  auto read = read_file_chunks(path, [&](std::span<const std::uint8_t> chunk) {
    EVP_DigestUpdate(context.get(), chunk.data(), chunk.size());
  });
  if (!read) return std::unexpected(read.error());
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(context.get(), digest, &length);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * length);
  for (unsigned int i = 0; i < length; ++i) {
    text.push_back(kHex[digest[i] >> 4]);
    text.push_back(kHex[digest[i] & 15]);
  }
  return text;
}

// What the pipeline keeps of a backend page until the layout has decided.
struct PageFrame {
  float width;
  float height;
  BBox page_box;
};

PageFrame add_page(const PdfPage& backend_page, LayoutStrategy& layout,
                   const std::optional<std::string>& media_dir) {
  const auto [width, height] = backend_page.size();
  // A list the backend cannot give is analysed as empty.
  const std::vector<PdfChar> chars = backend_page.chars().value_or(std::vector<PdfChar>{});
  const std::vector<PdfImage> images = backend_page.images().value_or(std::vector<PdfImage>{});
  const BBox page_box =
      BBox::create(0.0f, 0.0f, width, height).value_or(vorlin_geometry::DEFAULT_PAGE_BOX);
  std::vector<BBox> figures;
  figures.reserve(images.size());
  for (const PdfImage& image : images)
    figures.push_back(BBox{image.x0, image.y0, image.x1, image.y1});
  const std::vector<NodeId> figure_ids = layout.add_page(chars, figures, page_box);
  // The layout only places figures; their images are saved here, under the ids it gave them.
  for (std::size_t i = 0; i < images.size(); ++i) {
    write_figure_image(media_dir, figure_ids.at(i), images[i].data);
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

std::expected<Document, ParseFailure> parse_document(const std::string& path,
                                                     const ParseOptions& options,
                                                     const PdfBackend& backend, Layout layout) {
  if (!has_status(path)) {
    return Failure(
        ParseFailure{ParseFailure::ExceptionClass::FileNotFoundError, "PDF not found: " + path});
  }
  auto opened = backend.open(path);
  if (!opened) return value_error("failed to open PDF: " + opened.error().to_string());
  const std::unique_ptr<PdfDocument> pdf = std::move(*opened);
  const std::size_t page_count = pdf->page_count();

  auto sha256 = file_sha256(path);
  if (!sha256) return value_error("failed to read PDF: " + system_error_text(sha256.error()));

  const std::unique_ptr<LayoutStrategy> strategy = make_layout(layout);
  std::vector<PageFrame> frames;
  frames.reserve(page_count);
  for (std::size_t index = 0; index < page_count; ++index) {
    auto page = pdf->page(index);
    if (!page) {
      return value_error("page " + std::to_string(index) + ": " + page.error().to_string());
    }
    frames.push_back(add_page(**page, *strategy, options.media_dir));
  }
  std::vector<PageContent> contents = strategy->finish();

  Document document;
  document.pages.reserve(page_count);
  for (std::size_t index = 0; index < page_count; ++index) {
    document.pages.push_back(build_page(frames[index], std::move(contents.at(index)),
                                        static_cast<std::uint32_t>(index + 1)));
  }
  document.source_sha256 = std::move(*sha256);
  document.source_filename = source_filename(path);
  document.profile = options.profile;
  return document;
}

}  // namespace vorlin_core
