#pragma once
// What a caller may set for one parse, and how a parse can fail.

#include <cstdint>
#include <optional>
#include <string>

namespace vorlin_core {

inline constexpr const char* kDefaultOllamaEndpoint = "http://127.0.0.1:11434";

struct ParseOptions {
  std::string profile = "balanced";  // copied into the document, never validated here
  bool use_ia = true;                // carried, not consulted
  std::optional<std::uint64_t> max_concurrent_pages;  // carried, not consulted
  std::optional<std::string> media_dir;  // where figure images are written, when set
  std::string ollama_endpoint = kDefaultOllamaEndpoint;  // carried, not consulted
};

// A failed parse, in the pipeline's own terms; the caller decides how each kind is reported.
struct ParseFailure {
  enum class Kind {
    NotFound,     // the path has no status
    Unreadable,   // the file cannot be read, or is not a regular file
    Rejected,     // the backend refuses the bytes (or cannot be loaded)
    PageFailed,   // a page could not be loaded
    Interrupted,  // the caller asked to stop between pages
    OcrUnavailable,  // OCR was required but Tesseract or a language's data is missing
  };
  Kind kind;
  std::string message;
};

}  // namespace vorlin_core
