#pragma once
// In-memory PNG encoding over zlib: fast compression, adaptive row filters, no ancillary chunks.
// Written here rather than through libpng, whose static archive cannot go into a shared module.

#include <cstddef>
#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

namespace vorlin_core {

enum class PngColour { Gray, Rgb, Rgba };

struct PngPixels {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  PngColour colour = PngColour::Rgba;
  std::size_t stride = 0;  // bytes from one row to the next
  std::span<const std::uint8_t> data;
};

std::expected<std::vector<std::uint8_t>, std::string> encode_png(const PngPixels& pixels);

}  // namespace vorlin_core
