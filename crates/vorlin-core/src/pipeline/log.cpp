#include "vorlin_core/pipeline/log.h"

namespace vorlin_core {

std::shared_ptr<spdlog::logger> native_logger() {
  static const std::shared_ptr<spdlog::logger> logger = [] {
    if (auto existing = spdlog::get(kLoggerName)) return existing;
    auto created = std::make_shared<spdlog::logger>(kLoggerName);
    created->set_level(spdlog::level::warn);
    spdlog::register_logger(created);
    return created;
  }();
  return logger;
}

}  // namespace vorlin_core
