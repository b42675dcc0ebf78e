#pragma once
// How a node's content was obtained.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlin_core {

enum class ProvenanceSource : std::uint8_t { Rust, Ocr, Vlm };

// "rust", "ocr" or "vlm".
std::string_view wire_string(ProvenanceSource source);

struct Provenance {
  ProvenanceSource source = ProvenanceSource::Rust;
  std::optional<std::string> model;
  float confidence = 1.0f;
  std::uint32_t latency_ms = 0;
  std::uint8_t retries = 0;
};

}  // namespace vorlin_core
