#include "vorlin_core/ocr/tesseract_library.h"

#include <dlfcn.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "vorlin_core/backend/dynamic_symbols.h"

namespace vorlin_core {
namespace {

// Tesseract's language names in "eng+deu".
std::vector<std::string> language_names(const std::string& languages) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= languages.size()) {
    std::size_t end = languages.find('+', start);
    if (end == std::string::npos) end = languages.size();
    if (end > start) names.push_back(languages.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// Debian's package for each language name ("chi_sim" is tesseract-ocr-chi-sim).
std::string language_packages(const std::vector<std::string>& names) {
  std::string packages;
  for (const std::string& name : names) {
    packages += " tesseract-ocr-";
    for (char c : name) {
      packages += c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return packages;
}

}  // namespace

std::expected<tesseract::TesseractApi, OcrError> resolve_tesseract(
    const std::string& library_path) {
  // Tesseract's OpenMP loops would start a thread per core inside every worker; the parallel
  // batch already keeps the cores busy. libgomp reads the limit once, when it is loaded.
  setenv("OMP_THREAD_LIMIT", "1", /*overwrite=*/0);
  void* handle = dlopen(library_path.c_str(), RTLD_NOW | RTLD_LOCAL);
  std::string failure;
  tesseract::TesseractApi api{};
  if (!handle) {
    failure = loader_message("dlopen failed");
  } else {
#define VORLIN_BIND(symbol) bind_symbol(handle, #symbol, api.symbol, failure)
    VORLIN_BIND(TessVersion);
    VORLIN_BIND(TessDeleteText);
    VORLIN_BIND(TessDeleteTextArray);
    VORLIN_BIND(TessBaseAPICreate);
    VORLIN_BIND(TessBaseAPIDelete);
    VORLIN_BIND(TessBaseAPISetVariable);
    VORLIN_BIND(TessBaseAPIInit3);
    VORLIN_BIND(TessBaseAPIGetLoadedLanguagesAsVector);
    VORLIN_BIND(TessBaseAPISetPageSegMode);
    VORLIN_BIND(TessBaseAPISetImage);
    VORLIN_BIND(TessBaseAPISetSourceResolution);
    VORLIN_BIND(TessBaseAPIRecognize);
    VORLIN_BIND(TessBaseAPIGetIterator);
    VORLIN_BIND(TessBaseAPIClear);
    VORLIN_BIND(TessResultIteratorDelete);
    VORLIN_BIND(TessResultIteratorNext);
    VORLIN_BIND(TessResultIteratorGetUTF8Text);
    VORLIN_BIND(TessResultIteratorConfidence);
    VORLIN_BIND(TessResultIteratorGetPageIteratorConst);
    VORLIN_BIND(TessPageIteratorIsAtBeginningOf);
    VORLIN_BIND(TessPageIteratorBoundingBox);
    VORLIN_BIND(TessPageIteratorBaseline);
#undef VORLIN_BIND
  }
  if (!failure.empty()) {
    if (handle) dlclose(handle);  // nothing of it was used
    return std::unexpected(OcrError{
        OcrError::Kind::LibraryMissing,
        "OCR needs the Tesseract library, which could not be loaded (" + failure +
            "); install it with: apt-get install libtesseract5 tesseract-ocr-eng"});
  }
  return api;
}

namespace {

// Engines are never ended: a pool lives as long as the process.
class TesseractPool {
 public:
  std::expected<TesseractLease, OcrError> lease(const std::string& library_path,
                                                const std::string& languages) {
    std::unique_lock lock(mutex_);
    const tesseract::TesseractApi*& api = apis_[library_path];
    if (!api) {
      auto resolved = resolve_tesseract(library_path);
      if (!resolved) {
        apis_.erase(library_path);
        return std::unexpected(std::move(resolved.error()));
      }
      api = new tesseract::TesseractApi(*resolved);
    }
    const std::pair<std::string, std::string> key(library_path, languages);
    std::vector<TesseractEngine*>& idle = idle_[key];
    TesseractEngine* engine = nullptr;
    if (!idle.empty()) {
      engine = idle.back();
      idle.pop_back();
    } else {
      lock.unlock();  // reading language data takes a while; other threads need not wait
      auto created = create(*api, languages);
      if (!created) return std::unexpected(std::move(created.error()));
      engine = *created;
    }
    return TesseractLease(engine, [this, key](const TesseractEngine* returned) {
      const std::lock_guard guard(mutex_);
      idle_[key].push_back(const_cast<TesseractEngine*>(returned));
    });
  }

 private:
  static std::expected<TesseractEngine*, OcrError> create(const tesseract::TesseractApi& api,
                                                          const std::string& languages) {
    tesseract::TessBaseAPI* handle = api.TessBaseAPICreate();
    // Tesseract reports missing data on stderr; our error says it instead.
    api.TessBaseAPISetVariable(handle, "debug_file", "/dev/null");
    std::vector<std::string> missing = language_names(languages);
    if (!missing.empty() && api.TessBaseAPIInit3(handle, nullptr, languages.c_str()) == 0) {
      // Tesseract skips a language it has no data for as long as another one loads.
      if (char** loaded = api.TessBaseAPIGetLoadedLanguagesAsVector(handle)) {
        for (char** name = loaded; *name; ++name) std::erase(missing, std::string(*name));
        api.TessDeleteTextArray(loaded);
      }
    }
    if (missing.empty() && !languages.empty()) {
      // The API starts in single-block mode, which runs side-by-side columns' lines together.
      api.TessBaseAPISetPageSegMode(handle, tesseract::kPageSegAuto);
      return new TesseractEngine{&api, handle};
    }
    api.TessBaseAPIDelete(handle);
    if (missing.empty()) missing.push_back(languages);
    return std::unexpected(OcrError{OcrError::Kind::LanguageMissing,
                                    "Tesseract has no data for the language(s) '" + languages +
                                        "'; install it with: apt-get install" +
                                        language_packages(missing)});
  }

  std::mutex mutex_;
  // Per library path, so that a path that cannot be loaded fails whatever loaded before.
  std::map<std::string, const tesseract::TesseractApi*> apis_;
  std::map<std::pair<std::string, std::string>, std::vector<TesseractEngine*>> idle_;
};

}  // namespace

std::expected<TesseractLease, OcrError> lease_tesseract(const std::string& library_path,
                                                        const std::string& languages) {
  // Never destroyed: leases released during static destruction still return here.
  static auto* pool = new TesseractPool;
  return pool->lease(library_path, languages);
}

}  // namespace vorlin_core
