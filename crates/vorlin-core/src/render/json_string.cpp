#include "vorlin_core/render/json_string.h"

#include <unicode/utf8.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace vorlin_core {
namespace {

enum class ByteClass : std::uint8_t { Copy, Escape, NonAscii };

constexpr std::array<ByteClass, 256> make_byte_classes() {
  std::array<ByteClass, 256> classes{};
  for (int b = 0; b < 0x20; ++b) classes[b] = ByteClass::Escape;
  classes['"'] = ByteClass::Escape;
  classes['\\'] = ByteClass::Escape;
  for (int b = 0x80; b < 0x100; ++b) classes[b] = ByteClass::NonAscii;
  return classes;
}
constexpr std::array<ByteClass, 256> kByteClasses = make_byte_classes();

// Marks (high bit of the byte) every byte of a little-endian word that is below 0x20, a
// quotation mark, a backslash or non-ASCII. Borrows can only mark bytes above a marked one, so
// the lowest mark is always exact; zero means the eight bytes are copied as they are.
std::uint64_t attention_marks(const std::uint8_t* bytes) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  const auto zero_bytes = [](std::uint64_t w) { return (w - kOnes) & ~w & kHigh; };
  const std::uint64_t below_space = (word - kOnes * 0x20) & ~word & kHigh;
  return below_space | zero_bytes(word ^ (kOnes * '"')) | zero_bytes(word ^ (kOnes * '\\')) |
         (word & kHigh);
}

// Skips whole words of bytes that are copied verbatim; returns the first byte that is not, or the
// start of the last partial word, which the caller reads byte by byte.
std::int64_t skip_plain(const std::uint8_t* bytes, std::int64_t i, std::int64_t length) {
  if constexpr (std::endian::native != std::endian::little) return i;
  while (i + 8 <= length) {
    const std::uint64_t marks = attention_marks(bytes + i);
    if (marks != 0) return i + std::countr_zero(marks) / 8;
    i += 8;
  }
  return i;
}

void append_escape(std::string& out, unsigned char byte) {
  switch (byte) {
    case '"': out.append("\\\""); return;
    case '\\': out.append("\\\\"); return;
    case '\b': out.append("\\b"); return;
    case '\t': out.append("\\t"); return;
    case '\n': out.append("\\n"); return;
    case '\f': out.append("\\f"); return;
    case '\r': out.append("\\r"); return;
    default: {
      static constexpr char kHex[] = "0123456789abcdef";
      const char escaped[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 15]};
      out.append(escaped, sizeof escaped);
    }
  }
}

}  // namespace

std::expected<void, std::string> append_json_string(std::string& out, std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int64_t>(text.size());
  out.push_back('"');
  // Copy runs of plain bytes in one append, skipping them eight at a time; stop only at escapes
  // and to check multi-byte sequences.
  std::int64_t run_start = 0;
  std::int64_t i = 0;
  while (true) {
    i = skip_plain(bytes, i, length);
    if (i >= length) break;
    const ByteClass byte_class = kByteClasses[bytes[i]];
    if (byte_class == ByteClass::Copy) {
      ++i;
      continue;
    }
    if (byte_class == ByteClass::NonAscii) {
      const std::int64_t start = i;
      UChar32 ch = 0;
      U8_NEXT(bytes, i, length, ch);
      if (ch < 0) {
        return std::unexpected("string is not valid UTF-8 at byte " + std::to_string(start));
      }
      continue;
    }
    out.append(text.data() + run_start, static_cast<std::size_t>(i - run_start));
    append_escape(out, bytes[i]);
    run_start = ++i;
  }
  out.append(text.data() + run_start, static_cast<std::size_t>(length - run_start));
  out.push_back('"');
  return {};
}

}  // namespace vorlin_core
