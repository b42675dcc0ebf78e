#include "vorlin_core/backend/pdfium_library.h"

#include <dlfcn.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "vorlin_core/backend/dynamic_symbols.h"

namespace vorlin_core {

std::expected<pdfium::PdfiumApi, PdfError> resolve_pdfium(const std::string& library_path) {
  void* handle = dlmopen(LM_ID_NEWLM, library_path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    return std::unexpected(PdfError::library_unavailable(loader_message("dlopen failed")));
  }
  pdfium::PdfiumApi api{};
  std::string failure;
#define VORLIN_BIND(symbol) bind_symbol(handle, #symbol, api.symbol, failure)
  VORLIN_BIND(FPDF_InitLibraryWithConfig);
  VORLIN_BIND(FPDF_GetLastError);
  VORLIN_BIND(FPDF_LoadMemDocument64);
  VORLIN_BIND(FPDF_CloseDocument);
  VORLIN_BIND(FPDF_GetPageCount);
  VORLIN_BIND(FPDF_LoadPage);
  VORLIN_BIND(FPDF_ClosePage);
  VORLIN_BIND(FPDF_GetPageWidthF);
  VORLIN_BIND(FPDF_GetPageHeightF);
  VORLIN_BIND(FPDF_GetPageBoundingBox);
  VORLIN_BIND(FPDF_RenderPageBitmap);
  VORLIN_BIND(FPDFBitmap_Create);
  VORLIN_BIND(FPDFBitmap_FillRect);
  VORLIN_BIND(FPDFBitmap_GetFormat);
  VORLIN_BIND(FPDFBitmap_GetBuffer);
  VORLIN_BIND(FPDFBitmap_GetWidth);
  VORLIN_BIND(FPDFBitmap_GetHeight);
  VORLIN_BIND(FPDFBitmap_GetStride);
  VORLIN_BIND(FPDFBitmap_Destroy);
  VORLIN_BIND(FPDFText_LoadPage);
  VORLIN_BIND(FPDFText_ClosePage);
  VORLIN_BIND(FPDFText_CountChars);
  VORLIN_BIND(FPDFText_GetUnicode);
  VORLIN_BIND(FPDFText_IsGenerated);
  VORLIN_BIND(FPDFText_HasUnicodeMapError);
  VORLIN_BIND(FPDFText_GetFontSize);
  VORLIN_BIND(FPDFText_GetLooseCharBox);
  VORLIN_BIND(FPDFText_GetMatrix);
  VORLIN_BIND(FPDFText_IsHyphen);
  VORLIN_BIND(FPDFText_GetFontInfo);
  VORLIN_BIND(FPDFText_GetFontWeight);
  VORLIN_BIND(FPDFText_GetTextObject);
  VORLIN_BIND(FPDFPage_GetRotation);
  VORLIN_BIND(FPDFPage_CountObjects);
  VORLIN_BIND(FPDFPage_GetObject);
  VORLIN_BIND(FPDFPageObj_GetType);
  VORLIN_BIND(FPDFPageObj_GetBounds);
  VORLIN_BIND(FPDFPageObj_GetMatrix);
  VORLIN_BIND(FPDFFormObj_CountObjects);
  VORLIN_BIND(FPDFFormObj_GetObject);
  VORLIN_BIND(FPDFPath_GetDrawMode);
  VORLIN_BIND(FPDFPageObj_GetFillColor);
  VORLIN_BIND(FPDFImageObj_GetBitmap);
  VORLIN_BIND(FPDFImageObj_GetImagePixelSize);
  VORLIN_BIND(FPDFTextObj_GetFont);
  VORLIN_BIND(FPDFTextObj_GetTextRenderMode);
  VORLIN_BIND(FPDFFont_GetItalicAngle);
  VORLIN_BIND(FPDFBookmark_GetFirstChild);
  VORLIN_BIND(FPDFBookmark_GetNextSibling);
  VORLIN_BIND(FPDFBookmark_GetTitle);
  VORLIN_BIND(FPDFBookmark_GetDest);
  VORLIN_BIND(FPDFDest_GetDestPageIndex);
  VORLIN_BIND(FPDFDest_GetLocationInPage);
#undef VORLIN_BIND
  bind_symbol(handle, "__ctype_init", api.init_thread_locale, failure);
  if (!failure.empty()) {
    // Nothing of this library was used, so giving it back is safe.
    dlclose(handle);
    return std::unexpected(PdfError::library_unavailable(std::move(failure)));
  }
  return api;
}

namespace {

// Instances are never unloaded: PDFium cannot be shut down and loaded again in one namespace.
class PdfiumPool {
 public:
  std::expected<PdfiumLease, PdfError> lease(const std::string& library_path) {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (!idle_.empty()) {
        const pdfium::PdfiumApi* api = idle_.back();
        idle_.pop_back();
        api->init_thread_locale();  // the instance serves the calling thread from now on
        return PdfiumLease(api, [this](const pdfium::PdfiumApi* returned) { give_back(returned); });
      }
      if (can_grow_ && loaded_ < kMaxPdfiumInstances) {
        auto api = load(loaded_ == 0 ? library_path : library_path_);
        if (api) {
          if (loaded_++ == 0) library_path_ = library_path;
          idle_.push_back(*api);
          continue;
        }
        if (loaded_ == 0) return std::unexpected(std::move(api.error()));
        can_grow_ = false;  // out of namespaces or TLS: share the instances there are
        continue;
      }
      returned_.wait(lock);
    }
  }

 private:
  static std::expected<const pdfium::PdfiumApi*, PdfError> load(const std::string& path) {
    auto api = resolve_pdfium(path);
    if (!api) return std::unexpected(std::move(api.error()));
    pdfium::FPDF_LIBRARY_CONFIG config{};
    config.version = 2;
    api->FPDF_InitLibraryWithConfig(&config);
    return new pdfium::PdfiumApi(*api);
  }

  void give_back(const pdfium::PdfiumApi* api) {
    {
      const std::lock_guard lock(mutex_);
      idle_.push_back(api);
    }
    returned_.notify_one();
  }

  std::mutex mutex_;
  std::condition_variable returned_;
  std::vector<const pdfium::PdfiumApi*> idle_;
  std::size_t loaded_ = 0;
  bool can_grow_ = true;
  std::string library_path_;
};

}  // namespace

std::expected<PdfiumLease, PdfError> lease_pdfium(const std::string& library_path) {
  // Never destroyed: leases released during static destruction still return here.
  static auto* pool = new PdfiumPool;
  return pool->lease(library_path);
}

}  // namespace vorlin_core
