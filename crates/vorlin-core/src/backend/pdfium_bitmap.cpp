#include "vorlin_core/backend/pdfium_bitmap.h"

#include <algorithm>

#include "vorlin_core/backend/pdfium_api.h"

namespace vorlin_core {
namespace {

struct Layout {
  std::size_t in_channels;
  std::size_t out_channels;
  PngColour colour;
};

std::expected<Layout, std::string> layout_of(int format) {
  switch (format) {
    case pdfium::kBitmapGray:
      return Layout{1, 1, PngColour::Gray};
    case pdfium::kBitmapBgr:
      return Layout{3, 3, PngColour::Rgb};
    case pdfium::kBitmapBgrx:
      return Layout{4, 3, PngColour::Rgb};
    case pdfium::kBitmapBgra:
      return Layout{4, 4, PngColour::Rgba};
  }
  return std::unexpected("unsupported bitmap format " + std::to_string(format));
}

}  // namespace

std::expected<PackedPixels, std::string> pack_bitmap(const BitmapView& bitmap) {
  auto layout = layout_of(bitmap.format);
  if (!layout) return std::unexpected(std::move(layout.error()));
  if (bitmap.width <= 0 || bitmap.height <= 0) return std::unexpected("bitmap has no pixels");
  const auto width = static_cast<std::size_t>(bitmap.width);
  const auto height = static_cast<std::size_t>(bitmap.height);
  const std::size_t row_in = width * layout->in_channels;
  if (bitmap.stride < 0 || static_cast<std::size_t>(bitmap.stride) < row_in ||
      bitmap.data.size() < static_cast<std::size_t>(bitmap.stride) * (height - 1) + row_in) {
    return std::unexpected("bitmap buffer is smaller than its rows");
  }
  const auto stride = static_cast<std::size_t>(bitmap.stride);

  PackedPixels pixels{
      static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), layout->colour, {}};
  pixels.data.resize(width * height * layout->out_channels);
  std::uint8_t* out = pixels.data.data();
  for (std::size_t row = 0; row < height; ++row) {
    const std::uint8_t* in = bitmap.data.data() + row * stride;
    if (layout->in_channels == 1) {
      out = std::copy_n(in, width, out);
      continue;
    }
    for (std::size_t x = 0; x < width; ++x, in += layout->in_channels) {
      *out++ = in[2];
      *out++ = in[1];
      *out++ = in[0];
      if (layout->out_channels == 4) *out++ = in[3];
    }
  }
  return pixels;
}

GrayImage gray_of(const PackedPixels& pixels) {
  GrayImage gray{pixels.width, pixels.height, {}};
  if (pixels.colour == PngColour::Gray) {
    gray.pixels = pixels.data;
    return gray;
  }
  const std::size_t channels = pixels.colour == PngColour::Rgb ? 3 : 4;
  gray.pixels.reserve(pixels.data.size() / channels);
  for (std::size_t i = 0; i + channels <= pixels.data.size(); i += channels) {
    const unsigned luma =
        (299u * pixels.data[i] + 587u * pixels.data[i + 1] + 114u * pixels.data[i + 2]) / 1000u;
    gray.pixels.push_back(static_cast<std::uint8_t>(luma));
  }
  return gray;
}

std::expected<std::vector<std::uint8_t>, std::string> encode_packed(const PackedPixels& pixels) {
  const std::size_t channels = pixels.colour == PngColour::Gray  ? 1
                               : pixels.colour == PngColour::Rgb ? 3
                                                                 : 4;
  return encode_png(
      PngPixels{pixels.width, pixels.height, pixels.colour, pixels.width * channels, pixels.data});
}

}  // namespace vorlin_core
