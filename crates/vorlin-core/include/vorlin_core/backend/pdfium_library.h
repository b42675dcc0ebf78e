#pragma once
// Private PDFium instances. PDFium keeps process-wide state (font caches, the page cache) and is
// not thread-safe, and other code in the process (pypdfium2, for one) may load the very same
// libpdfium.so and call it from its own threads. So the engine never calls a copy that anyone
// else can reach: each instance is loaded with dlmopen into a link-map namespace of its own, with
// its own globals, and serves one open document at a time, so its calls need no lock and
// documents on different instances are read in parallel.

#include <cstddef>
#include <expected>
#include <memory>
#include <string>

#include "vorlin_core/backend/pdf_error.h"
#include "vorlin_core/backend/pdfium_api.h"

namespace vorlin_core {

// glibc offers 16 namespaces and runs out of static TLS after about 11 copies of PDFium.
inline constexpr std::size_t kMaxPdfiumInstances = 8;

// An initialised instance, lent for as long as the pointer lives.
using PdfiumLease = std::shared_ptr<const pdfium::PdfiumApi>;

// dlmopen (a new namespace, RTLD_NOW | RTLD_LOCAL) of `library_path` (a path, or a bare name for
// the system loader's search) and dlsym of every entry point, without initialising or caching.
// LibraryUnavailable carries the loader's message when the file cannot be loaded or lacks a
// required symbol.
std::expected<pdfium::PdfiumApi, PdfError> resolve_pdfium(const std::string& library_path);

// An idle instance; when all are busy a new one is loaded (up to kMaxPdfiumInstances, or as many as
// the system allows), otherwise the call waits for one to come back. The first library loaded
// serves every later call whatever path it names; a failed first load leaves nothing behind, so a
// later call may try another path.
std::expected<PdfiumLease, PdfError> lease_pdfium(const std::string& library_path);

}  // namespace vorlin_core
