#include "vorlin_core/backend/pdf_backend.h"

#include "vorlin_core/backend/source_file.h"

namespace vorlin_core {

PngData::PngData(std::vector<std::uint8_t> bytes)
    : encode_([bytes = std::move(bytes)]() -> std::expected<std::vector<std::uint8_t>, PdfError> {
        return bytes;
      }) {}

std::expected<std::vector<std::uint8_t>, PdfError> PngData::bytes() const {
  if (!encode_) return std::unexpected(PdfError::internal("the image has no data"));
  return encode_();
}

std::expected<GrayImage, PdfError> PdfPage::render_gray(float) const {
  return std::unexpected(PdfError::internal("this backend cannot draw pages"));
}

std::expected<std::unique_ptr<PdfDocument>, PdfError> PdfBackend::open(
    const std::string& path) const {
  auto source = read_source(path, reads_content());
  if (!source) return std::unexpected(PdfError::io(path, source.error()));
  return load(std::move(source->bytes));
}

}  // namespace vorlin_core
