#pragma once
// One PDF path through a backend to a Document: existence check, open, SHA-256
// of the file, then every page analysed in order. Any failure is a ParseFailure
// carrying its Python exception class and message.

#include <expected>
#include <string>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/model/document.h"
#include "vorlin_core/pipeline/layout.h"
#include "vorlin_core/pipeline/parse_options.h"

namespace vorlin_core {

std::expected<Document, ParseFailure> parse_document(const std::string& path,
                                                     const ParseOptions& options,
                                                     const PdfBackend& backend,
                                                     Layout layout = Layout::Spec);

// The last normal component of a path as text; empty for "..", a bare root or "".
std::string source_filename(const std::string& path);

}  // namespace vorlin_core
