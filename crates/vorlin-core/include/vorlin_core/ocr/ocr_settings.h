#pragma once
// When pages are read by OCR, in which languages and at what resolution, and how OCR fails.

#include <optional>
#include <string>
#include <string_view>

namespace vorlin_core {

enum class OcrMode {
  Off,    // never
  Auto,   // pages without usable text (see needs_ocr)
  Force,  // every page
};

struct OcrModeName {
  std::string_view name;
  OcrMode mode;
};

// The names callers choose a mode by, the package's default first.
inline constexpr OcrModeName kOcrModeNames[] = {
    {"auto", OcrMode::Auto}, {"off", OcrMode::Off}, {"force", OcrMode::Force}};

std::optional<OcrMode> ocr_mode_named(std::string_view name);

// The soname Debian's libtesseract5 installs; the system loader searches for it.
inline constexpr const char* kDefaultTesseractLibrary = "libtesseract.so.5";

struct OcrSettings {
  OcrMode mode = OcrMode::Off;
  std::string languages = "eng";  // Tesseract's names joined by '+', e.g. "eng+deu"
  float dpi = 300;                // resolution pages are rendered at for recognition
  std::string library = kDefaultTesseractLibrary;
};

struct OcrError {
  enum class Kind {
    LibraryMissing,   // Tesseract cannot be loaded, or lacks an entry point
    LanguageMissing,  // Tesseract loaded but could not read a language's data
    Failed,           // a page could not be rendered or recognised
  };
  Kind kind;
  std::string message;  // says what is missing and, for the first two, how to install it
};

}  // namespace vorlin_core
