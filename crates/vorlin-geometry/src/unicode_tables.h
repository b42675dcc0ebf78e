#pragma once
// The layout of the generated Unicode tables, shared by their generator and their reader.

#include <cstddef>
#include <cstdint>

namespace vorlin_geometry::unicode::tables {

inline constexpr char32_t kCodePointCount = 0x110000;

// One property byte per code point: the general category and three binary properties.
inline constexpr std::uint8_t kCategoryMask = 0x1F;
inline constexpr std::uint8_t kWhiteSpace = 0x20;
inline constexpr std::uint8_t kAlphabetic = 0x40;
inline constexpr std::uint8_t kGraphemeExtend = 0x80;

// The bytes come in blocks of 2^kBlockBits code points; equal blocks are stored once, and
// kBlockIndex gives each block's position among the stored ones.
inline constexpr int kBlockBits = 7;
inline constexpr char32_t kBlockMask = (char32_t{1} << kBlockBits) - 1;
extern const std::uint16_t kBlockIndex[kCodePointCount >> kBlockBits];
extern const std::uint8_t kBlockBytes[];

// Canonical pairs and their composites, ordered by (first, second).
struct Composition {
  char32_t first, second, composite;
};
extern const Composition kCompositions[];
extern const std::size_t kCompositionCount;

}  // namespace vorlin_geometry::unicode::tables
