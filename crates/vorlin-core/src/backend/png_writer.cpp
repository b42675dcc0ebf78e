#include "vorlin_core/backend/png_writer.h"

#include <png.h>

#include <csetjmp>

namespace vorlin_core {
namespace {

struct EncoderState {
  std::vector<std::uint8_t> output;
  std::string error;
};

void on_error(png_structp png, png_const_charp message) {
  auto* state = static_cast<EncoderState*>(png_get_error_ptr(png));
  state->error = message ? message : "unknown libpng error";
  png_longjmp(png, 1);
}

void on_warning(png_structp, png_const_charp) {}

void on_write(png_structp png, png_bytep data, png_size_t length) {
  auto* state = static_cast<EncoderState*>(png_get_io_ptr(png));
  state->output.insert(state->output.end(), data, data + length);
}

void on_flush(png_structp) {}

int libpng_colour_type(PngColour colour) {
  switch (colour) {
    case PngColour::Gray: return PNG_COLOR_TYPE_GRAY;
    case PngColour::Rgb: return PNG_COLOR_TYPE_RGB;
    case PngColour::Rgba: return PNG_COLOR_TYPE_RGB_ALPHA;
  }
  return PNG_COLOR_TYPE_RGB_ALPHA;
}

std::size_t channels(PngColour colour) {
  switch (colour) {
    case PngColour::Gray: return 1;
    case PngColour::Rgb: return 3;
    case PngColour::Rgba: return 4;
  }
  return 4;
}

// Separate from encode_png so that no object with a destructor lives in the
// frame that setjmp returns to.
bool encode_into(EncoderState& state, const PngPixels& pixels) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, on_error, on_warning);
  if (!png) {
    state.error = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    state.error = "out of memory";
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &state, on_write, on_flush);
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_IHDR(png, info, pixels.width, pixels.height, 8, libpng_colour_type(pixels.colour),
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  for (std::uint32_t row = 0; row < pixels.height; ++row) {
    png_write_row(png, pixels.data.data() + row * pixels.stride);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::expected<std::vector<std::uint8_t>, std::string> encode_png(const PngPixels& pixels) {
  const std::size_t row_bytes = pixels.width * channels(pixels.colour);
  if (pixels.width == 0 || pixels.height == 0) return std::unexpected("image has no pixels");
  if (pixels.stride < row_bytes ||
      pixels.data.size() < pixels.stride * (pixels.height - 1) + row_bytes) {
    return std::unexpected("pixel buffer is smaller than the image");
  }
  EncoderState state;
  if (!encode_into(state, pixels)) return std::unexpected(std::move(state.error));
  return std::move(state.output);
}

}  // namespace vorlin_core
