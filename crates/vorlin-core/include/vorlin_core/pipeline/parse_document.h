#pragma once
// One PDF through a backend to a Document: existence check, one read of the file (hashed as it is
// read), then every page analysed in order, figures saved as their pages go by.

#include <cstdint>
#include <expected>
#include <functional>
#include <string>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/model/document.h"
#include "vorlin_core/ocr/ocr_settings.h"
#include "vorlin_core/pipeline/figure_output.h"
#include "vorlin_core/pipeline/layout.h"
#include "vorlin_core/pipeline/parse_options.h"

namespace vorlin_core {

// How the pipeline runs, beside what the caller's options say about the document.
struct PipelineSettings {
  Layout layout = Layout::Spec;
  std::uint64_t max_image_pixels = kDefaultMaxImagePixels;
  OcrSettings ocr = {};  // read only by layouts that take OCR text
  bool name_paths_in_warnings = false;
  // Hand the document's bookmarks to the layout, which may name headings by them.
  bool use_outline = false;
  // Asked before each page; true ends the parse as Interrupted (Ctrl-C, a cancelled batch).
  std::function<bool()> interrupted = nullptr;
};

std::expected<Document, ParseFailure> parse_document(const std::string& path,
                                                     const ParseOptions& options,
                                                     const PdfBackend& backend,
                                                     const PipelineSettings& settings = {});

// The same for a file's bytes already in memory; `name` stands in for the path's last component.
std::expected<Document, ParseFailure> parse_document_bytes(std::vector<std::uint8_t> bytes,
                                                           const std::string& name,
                                                           const ParseOptions& options,
                                                           const PdfBackend& backend,
                                                           const PipelineSettings& settings = {});

// The last normal component of a path as text; empty for "..", a bare root or "".
std::string source_filename(const std::string& path);

}  // namespace vorlin_core
