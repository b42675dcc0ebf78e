#pragma once
// Whole-file and chunked reads that report the OS error number on failure.

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vorlin_core {

// The whole file, or errno.
std::expected<std::vector<std::uint8_t>, int> read_file(const std::string& path);

// Feeds the file to `consume` in fixed-size chunks, in order; returns errno on failure.
std::expected<void, int> read_file_chunks(
    const std::string& path, const std::function<void(std::span<const std::uint8_t>)>& consume);

}  // namespace vorlin_core
