#pragma once
// Tesseract loaded at run time (dlopen, never linked), and a pool of initialised engines: one
// engine recognises one image at a time, so each thread leases its own and engines are reused
// across pages and documents (initialising one reads the language data, which is slow).

#include <expected>
#include <memory>
#include <string>

#include "vorlin_core/ocr/ocr_settings.h"
#include "vorlin_core/ocr/tesseract_api.h"

namespace vorlin_core {

// dlopen (RTLD_NOW | RTLD_LOCAL) of `library_path` (a path, or a bare name for the system
// loader's search) and dlsym of every entry point. LibraryMissing carries the loader's message
// and how to install Tesseract.
std::expected<tesseract::TesseractApi, OcrError> resolve_tesseract(const std::string& library_path);

// An engine initialised for some languages, lent for as long as the lease lives.
struct TesseractEngine {
  const tesseract::TesseractApi* api = nullptr;
  tesseract::TessBaseAPI* handle = nullptr;
};
using TesseractLease = std::shared_ptr<const TesseractEngine>;

// An idle engine of `library_path` for `languages`, or a new one. A failed load leaves nothing
// behind, so a later call tries again. LanguageMissing names the packages that would provide the
// languages Tesseract could not load.
std::expected<TesseractLease, OcrError> lease_tesseract(const std::string& library_path,
                                                        const std::string& languages);

}  // namespace vorlin_core
