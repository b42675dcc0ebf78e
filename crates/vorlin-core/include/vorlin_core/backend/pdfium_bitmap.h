#pragma once
// PDFium bitmaps (Gray, BGR, BGRx or BGRA rows with padding) as PNG-ready
// pixels: gray stays gray, BGR and BGRx become RGB, BGRA becomes RGBA, rows packed.

#include <cstddef>
#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/backend/png_writer.h"

namespace vorlin_core {

// A bitmap's memory as PDFium describes it; `format` is FPDFBitmap_GetFormat's code.
struct BitmapView {
  int format = 0;
  int width = 0;
  int height = 0;
  int stride = 0;
  std::span<const std::uint8_t> data;
};

// Tightly packed rows in PNG channel order.
struct PackedPixels {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  PngColour colour = PngColour::Rgb;
  std::vector<std::uint8_t> data;
};

// Fails on an unknown format, an empty image, or a stride or buffer too small
// for the rows it claims.
std::expected<PackedPixels, std::string> pack_bitmap(const BitmapView& bitmap);

// The pixels in gray (ITU-R BT.601 luma; alpha ignored), for OCR.
GrayImage gray_of(const PackedPixels& pixels);

// The pixels as a complete PNG file; failure carries the encoder's text.
std::expected<std::vector<std::uint8_t>, std::string> encode_packed(const PackedPixels& pixels);

}  // namespace vorlin_core
