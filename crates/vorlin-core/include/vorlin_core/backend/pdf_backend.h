#pragma once
// The three interfaces through which a PDF is read: a backend opens a file as a
// document, a document yields pages by index, a page yields its size, its
// characters, its images and a picture of itself. Every failure is a PdfError.

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vorlin_core/backend/pdf_error.h"

namespace vorlin_core {

// One character of the page's text; box in PDF points, y axis up. Past the size, a backend
// fills what it knows; the defaults read as plain upright text in an unknown font.
struct PdfChar {
  char32_t ch = 0;
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  float font_size = 0;
  // Direction of the baseline on the visible page, degrees counterclockwise in [0, 360).
  float angle = 0;
  // Equal for characters of equally named fonts (subset prefixes ignored); 0 when unknown.
  std::uint32_t font_id = 0;
  // The weight the font states or PDFium estimates from its stems (400 regular, 0 unknown).
  // Rough: producers write nonsense often enough that it only compares fonts of one document.
  std::int16_t font_weight = 0;
  bool bold = false;
  bool italic = false;
  bool monospace = false;
  bool small_caps = false;
  bool math = false;       // from a face that sets formulas
  bool invisible = false;  // drawn in an invisible rendering mode (OCR layers, clipping text)
  // Word breaks the backend's text analysis saw where no character stands: before this one,
  // and after it a hyphen that only splits a word over two lines.
  bool space_before = false;
  bool hyphen_after = false;
  // This character is such a line-end hyphen, given as a plain hyphen.
  bool line_end_hyphen = false;
};

// A PNG file, at hand or made on demand. Backends defer decoding because it can cost seconds
// and gigabytes per image while most parses never save a figure; a deferred one reads the page,
// so it is used while the page that gave it is alive.
class PngData {
 public:
  using Encoder = std::function<std::expected<std::vector<std::uint8_t>, PdfError>()>;
  PngData() = default;
  PngData(std::vector<std::uint8_t> bytes);  // NOLINT: bytes at hand convert implicitly
  explicit PngData(Encoder encode) : encode_(std::move(encode)) {}
  std::expected<std::vector<std::uint8_t>, PdfError> bytes() const;

 private:
  Encoder encode_;
};

// One image placed on the page.
struct PdfImage {
  PngData data;
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  // The image's own pixel grid, known without decoding it.
  std::uint32_t pixel_width = 0;
  std::uint32_t pixel_height = 0;
};

// One path drawn on the page (a line, a rectangle, any outline), as the box it covers, in PDF
// points, y axis up; ruling lines are the thin ones.
struct PdfPath {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool stroked = false;
  bool filled = false;
  bool blank = false;  // filled white or mostly transparent: a background or a shadow, no tint
};

// 8-bit gray pixels, rows top to bottom, packed (width bytes per row).
struct GrayImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;
};

class PdfPage {
 public:
  virtual ~PdfPage() = default;
  // Width and height in points.
  virtual std::pair<float, float> size() const = 0;
  // Characters in extraction order.
  virtual std::expected<std::vector<PdfChar>, PdfError> chars() const = 0;
  // Paths in content order, also inside form XObjects.
  virtual std::expected<std::vector<PdfPath>, PdfError> paths() const = 0;
  virtual std::expected<std::vector<PdfImage>, PdfError> images() const = 0;
  // The bytes of a PNG file picturing the page.
  virtual std::expected<std::vector<std::uint8_t>, PdfError> render_png() const = 0;
  // The page drawn on white in gray at `dpi`, for OCR. Internal when the backend cannot draw
  // pages (the default) or the size cannot be rendered.
  virtual std::expected<GrayImage, PdfError> render_gray(float dpi) const;
};

// One entry of a document's outline (its bookmarks), as its author wrote it.
struct PdfBookmark {
  std::uint8_t level = 1;  // 1 for the outline's top entries
  std::string title;       // UTF-8
  std::optional<std::size_t> page;  // the page it leads to, when it leads to one of this file
  std::optional<float> y;           // the top of its target on that page, PDF points, y axis up
};

class PdfDocument {
 public:
  virtual ~PdfDocument() = default;
  virtual std::size_t page_count() const = 0;
  // The outline depth first, empty without one; a backend that cannot read outlines has none.
  virtual std::vector<PdfBookmark> bookmarks() const { return {}; }
  // Every index below page_count gives a page; any other gives PageOutOfRange.
  virtual std::expected<std::unique_ptr<PdfPage>, PdfError> page(std::size_t index) const = 0;
};

class PdfBackend {
 public:
  virtual ~PdfBackend() = default;
  virtual std::string_view name() const = 0;
  // Whether `load` parses the file's bytes; a backend that does not is handed none, so a large
  // file is only streamed through the digest.
  virtual bool reads_content() const = 0;
  // A document over the whole file's bytes (empty when reads_content() is false).
  virtual std::expected<std::unique_ptr<PdfDocument>, PdfError> load(
      std::vector<std::uint8_t> bytes) const = 0;
  // Reads the file once (read_source) and loads it; a read failure is Io with the path as given.
  std::expected<std::unique_ptr<PdfDocument>, PdfError> open(const std::string& path) const;
};

}  // namespace vorlin_core
