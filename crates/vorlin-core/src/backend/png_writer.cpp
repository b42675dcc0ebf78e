#include "vorlin_core/backend/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vorlin_core {
namespace {

constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kMaxDimension = 0x7FFF'FFFF;  // the format's limit for width and height
constexpr std::size_t kMaxIdatBytes = std::size_t{1} << 20;
constexpr std::size_t kMaxDeflateInput = std::size_t{1} << 31;  // zlib counts in 32 bits

enum Filter : std::uint8_t { None, Sub, Up, Average, Paeth, kFilterCount };

std::size_t channels(PngColour colour) {
  switch (colour) {
    case PngColour::Gray: return 1;
    case PngColour::Rgb: return 3;
    case PngColour::Rgba: return 4;
  }
  return 4;
}

std::uint8_t colour_type(PngColour colour) {
  switch (colour) {
    case PngColour::Gray: return 0;
    case PngColour::Rgb: return 2;
    case PngColour::Rgba: return 6;
  }
  return 6;
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void put_chunk(std::vector<std::uint8_t>& out, const char (&type)[5],
               std::span<const std::uint8_t> data) {
  put_u32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t type_at = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  put_u32(out, static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), out.data() + type_at,
                                                static_cast<uInt>(4 + data.size()))));
}

std::uint8_t paeth_predictor(int left, int up, int up_left) {
  const int estimate = left + up - up_left;
  const int to_left = std::abs(estimate - left);
  const int to_up = std::abs(estimate - up);
  const int to_up_left = std::abs(estimate - up_left);
  if (to_left <= to_up && to_left <= to_up_left) return static_cast<std::uint8_t>(left);
  return static_cast<std::uint8_t>(to_up <= to_up_left ? up : up_left);
}

// One filtered row: `row` against the row above (zeros for the first) with `bpp` bytes a pixel.
// A template, so that each filter gets a loop of its own.
template <Filter kFilter>
void apply_filter(const std::uint8_t* row, const std::uint8_t* above, std::size_t size,
                  std::size_t bpp, std::uint8_t* out) {
  for (std::size_t i = 0; i < size; ++i) {
    const int left = i >= bpp ? row[i - bpp] : 0;
    const int up = above[i];
    const int up_left = i >= bpp ? above[i - bpp] : 0;
    int prediction = 0;
    if constexpr (kFilter == Sub) prediction = left;
    if constexpr (kFilter == Up) prediction = up;
    if constexpr (kFilter == Average) prediction = (left + up) / 2;
    if constexpr (kFilter == Paeth) prediction = paeth_predictor(left, up, up_left);
    out[i] = static_cast<std::uint8_t>(row[i] - prediction);
  }
}

void apply_filter(Filter filter, const std::uint8_t* row, const std::uint8_t* above,
                  std::size_t size, std::size_t bpp, std::uint8_t* out) {
  switch (filter) {
    case None: return apply_filter<None>(row, above, size, bpp, out);
    case Sub: return apply_filter<Sub>(row, above, size, bpp, out);
    case Up: return apply_filter<Up>(row, above, size, bpp, out);
    case Average: return apply_filter<Average>(row, above, size, bpp, out);
    case Paeth: return apply_filter<Paeth>(row, above, size, bpp, out);
    case kFilterCount: return;
  }
}

// Adaptive filtering, the format's recommended heuristic: per row, the filter whose output bytes,
// read as signed, have the smallest sum of magnitudes.
std::vector<std::uint8_t> filtered_rows(const PngPixels& pixels, std::size_t bpp) {
  const std::size_t size = pixels.width * bpp;
  const std::vector<std::uint8_t> zeros(size, 0);
  std::vector<std::uint8_t> out(pixels.height * (1 + size));
  std::vector<std::uint8_t> trial(size);
  for (std::uint32_t y = 0; y < pixels.height; ++y) {
    const std::uint8_t* row = pixels.data.data() + y * pixels.stride;
    const std::uint8_t* above = y ? row - pixels.stride : zeros.data();
    std::uint8_t* line = out.data() + y * (1 + size);
    std::uint64_t best_cost = UINT64_MAX;
    for (std::uint8_t filter = None; filter < kFilterCount; ++filter) {
      apply_filter(static_cast<Filter>(filter), row, above, size, bpp, trial.data());
      std::uint64_t cost = 0;
      for (const std::uint8_t byte : trial) cost += byte < 128 ? byte : 256 - byte;
      if (cost < best_cost) {
        best_cost = cost;
        line[0] = filter;
        std::copy(trial.begin(), trial.end(), line + 1);
      }
    }
  }
  return out;
}

std::expected<std::vector<std::uint8_t>, std::string> deflated(std::vector<std::uint8_t> in) {
  if (in.size() > kMaxDeflateInput) return std::unexpected("image is too large to compress");
  z_stream stream{};
  // Fast compression; the filtered strategy suits filter residuals.
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_FILTERED) != Z_OK) {
    return std::unexpected("zlib could not start: out of memory");
  }
  std::vector<std::uint8_t> out(deflateBound(&stream, static_cast<uLong>(in.size())));
  stream.next_in = in.data();
  stream.avail_in = static_cast<uInt>(in.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  std::string error = stream.msg ? stream.msg : "stream error";
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) return std::unexpected("zlib failed: " + error);
  return out;
}

}  // namespace

std::expected<std::vector<std::uint8_t>, std::string> encode_png(const PngPixels& pixels) {
  const std::size_t bpp = channels(pixels.colour);
  const std::size_t row_bytes = pixels.width * bpp;
  if (pixels.width == 0 || pixels.height == 0) return std::unexpected("image has no pixels");
  if (pixels.width > kMaxDimension || pixels.height > kMaxDimension) {
    return std::unexpected("image is larger than PNG allows");
  }
  if (pixels.stride < row_bytes ||
      pixels.data.size() < pixels.stride * (pixels.height - 1) + row_bytes) {
    return std::unexpected("pixel buffer is smaller than the image");
  }
  auto idat = deflated(filtered_rows(pixels, bpp));
  if (!idat) return std::unexpected(std::move(idat.error()));

  std::vector<std::uint8_t> out(std::begin(kSignature), std::end(kSignature));
  std::vector<std::uint8_t> header;
  put_u32(header, pixels.width);
  put_u32(header, pixels.height);
  // Bit depth 8; compression, filter and interlace methods 0 (no interlacing).
  header.insert(header.end(), {8, colour_type(pixels.colour), 0, 0, 0});
  put_chunk(out, "IHDR", header);
  for (std::size_t at = 0; at < idat->size(); at += kMaxIdatBytes) {
    put_chunk(out, "IDAT",
              std::span(*idat).subspan(at, std::min(kMaxIdatBytes, idat->size() - at)));
  }
  put_chunk(out, "IEND", {});
  return out;
}

}  // namespace vorlin_core
