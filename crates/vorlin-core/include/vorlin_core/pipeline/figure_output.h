#pragma once
// Saves a figure's PNG bytes as <media_dir>/<node id>.png. Best effort: a
// failure logs one warning on the "_native" logger and never stops the parse.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "vorlin_core/model/node_id.h"

namespace vorlin_core {

// Does nothing when `media_dir` is absent; creates it (and its parents) on
// every call, then writes the bytes exactly as given, truncating any old file.
void write_figure_image(const std::optional<std::string>& media_dir, const NodeId& id,
                        std::span<const std::uint8_t> bytes);

}  // namespace vorlin_core
