#include "vorlin_core/backend/lossy_utf8.h"

#include <cstdint>

namespace vorlin_core {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the valid sequence starting at bytes[i], or 0 with `consumed` set to
// the maximal prefix of a valid sequence (at least 1) when it is invalid.
std::size_t valid_sequence_length(std::string_view bytes, std::size_t i, std::size_t& consumed) {
  const auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
  const std::uint8_t lead = at(i);
  consumed = 1;
  if (lead < 0x80) return 1;
  std::size_t length;
  std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the first continuation byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (i + k >= bytes.size()) return 0;
    const std::uint8_t byte = at(i + k);
    const bool ok = k == 1 ? (byte >= low && byte <= high) : (byte >= 0x80 && byte <= 0xBF);
    if (!ok) return 0;
    consumed = k + 1;
  }
  return length;
}

}  // namespace

std::string lossy_utf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t consumed;
    if (const std::size_t length = valid_sequence_length(bytes, i, consumed); length != 0) {
      text.append(bytes.substr(i, length));
      i += length;
    } else {
      text.append(kReplacement);
      i += consumed;
    }
  }
  return text;
}

}  // namespace vorlin_core
