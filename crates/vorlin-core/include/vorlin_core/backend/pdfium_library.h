#pragma once
// Finding and starting PDFium at run time. The library is loaded, initialised
// once and never unloaded; PDFium is not thread-safe even across documents, so
// every call into it is made while holding pdfium_lock().

#include <expected>
#include <mutex>
#include <string>

#include "vorlin_core/backend/pdf_error.h"
#include "vorlin_core/backend/pdfium_api.h"

namespace vorlin_core {

// The one process-wide lock around PDFium. Not recursive: take it once per
// operation and never destroy a PDFium-owning object while holding it.
std::unique_lock<std::mutex> pdfium_lock();

// dlopen (RTLD_NOW | RTLD_LOCAL) of `library_path` (a path, or a bare name for
// the system loader's search) and dlsym of every entry point, without
// initialising or caching anything. LibraryUnavailable carries the loader's
// message when the file cannot be loaded or lacks a required symbol.
std::expected<pdfium::PdfiumApi, PdfError> resolve_pdfium(const std::string& library_path);

// The process's PDFium, initialised: the first successful load wins and every
// later call returns it whatever path it names. A failed load leaves nothing
// behind, so a later call may try another path.
std::expected<const pdfium::PdfiumApi*, PdfError> load_pdfium(const std::string& library_path);

}  // namespace vorlin_core
