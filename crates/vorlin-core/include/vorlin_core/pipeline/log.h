#pragma once
// The "_native" logger. It starts with no sink, so nothing is printed unless an
// embedding program attaches one (the Python binding forwards to `logging`).

#include <spdlog/spdlog.h>

#include <memory>

namespace vorlin_core {

inline constexpr const char* kLoggerName = "_native";

// The process-wide logger, registered with spdlog under kLoggerName on first use.
std::shared_ptr<spdlog::logger> native_logger();

}  // namespace vorlin_core
