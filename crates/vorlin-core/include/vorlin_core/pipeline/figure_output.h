#pragma once
// Saves a figure's image as <media_dir>/<node id>.png. Best effort: a failure logs one warning on
// the "_native" logger and never stops the parse.

#include <cstdint>
#include <span>
#include <string>

#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/model/node_id.h"

namespace vorlin_core {

// 64 megapixels: a 256 MiB RGBA decode, beyond any figure a reader looks at.
inline constexpr std::uint64_t kDefaultMaxImagePixels = std::uint64_t{1} << 26;

struct FigureOutput {
  std::string media_dir;
  // Larger images are not decoded at all: a hostile 20000 x 20000 image would cost gigabytes.
  std::uint64_t max_pixels = kDefaultMaxImagePixels;
  // Warnings name the directory or file that failed; off, they keep the bare texts.
  bool name_paths = false;
};

// Creates the directory (and its parents) on every call, then writes the bytes exactly as given,
// truncating any old file.
void write_figure_image(const FigureOutput& output, const NodeId& id,
                        std::span<const std::uint8_t> bytes);

// Decodes the image (unless it is over the pixel bound, which is a warning) and writes it.
void save_figure(const FigureOutput& output, const NodeId& id, const PdfImage& image);

}  // namespace vorlin_core
