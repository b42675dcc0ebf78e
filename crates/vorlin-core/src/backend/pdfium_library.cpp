#include "vorlin_core/backend/pdfium_library.h"

#include <dlfcn.h>

namespace vorlin_core {
namespace {

std::mutex& pdfium_mutex() {
  // Never destroyed: documents released during static destruction still lock it.
  static auto* mutex = new std::mutex;
  return *mutex;
}

std::string loader_message(const char* fallback) {
  const char* message = dlerror();
  return message ? message : fallback;
}

// Looks up `name` into `slot`; on failure records the loader's message once.
template <typename Function>
void bind(void* handle, const char* name, Function& slot, std::string& failure) {
  if (!failure.empty()) return;
  dlerror();  // clear any stale message so the next one is ours
  slot = reinterpret_cast<Function>(dlsym(handle, name));
  if (!slot) failure = loader_message((std::string("undefined symbol: ") + name).c_str());
}

}  // namespace

std::unique_lock<std::mutex> pdfium_lock() { return std::unique_lock(pdfium_mutex()); }

std::expected<pdfium::PdfiumApi, PdfError> resolve_pdfium(const std::string& library_path) {
  void* handle = dlopen(library_path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    return std::unexpected(PdfError::library_unavailable(loader_message("dlopen failed")));
  }
  pdfium::PdfiumApi api{};
  std::string failure;
#define VORLIN_BIND(symbol) bind(handle, #symbol, api.symbol, failure)
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
  VORLIN_BIND(FPDFPage_GetRotation);
  VORLIN_BIND(FPDFPage_CountObjects);
  VORLIN_BIND(FPDFPage_GetObject);
  VORLIN_BIND(FPDFPageObj_GetType);
  VORLIN_BIND(FPDFPageObj_GetBounds);
  VORLIN_BIND(FPDFPageObj_GetMatrix);
  VORLIN_BIND(FPDFFormObj_CountObjects);
  VORLIN_BIND(FPDFFormObj_GetObject);
  VORLIN_BIND(FPDFImageObj_GetBitmap);
#undef VORLIN_BIND
  if (!failure.empty()) {
    // Nothing of this library was used, so giving it back is safe.
    dlclose(handle);
    return std::unexpected(PdfError::library_unavailable(std::move(failure)));
  }
  return api;
}

std::expected<const pdfium::PdfiumApi*, PdfError> load_pdfium(const std::string& library_path) {
  auto lock = pdfium_lock();
  static const pdfium::PdfiumApi* loaded = nullptr;
  if (loaded) return loaded;
  auto api = resolve_pdfium(library_path);
  if (!api) return std::unexpected(std::move(api.error()));
  pdfium::FPDF_LIBRARY_CONFIG config{};
  config.version = 2;
  api->FPDF_InitLibraryWithConfig(&config);
  // Kept for the life of the process, like the library itself.
  loaded = new pdfium::PdfiumApi(*api);
  return loaded;
}

}  // namespace vorlin_core
