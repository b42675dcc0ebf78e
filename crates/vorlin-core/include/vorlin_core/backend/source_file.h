#pragma once
// Reads a PDF file exactly once: the bytes a backend parses and the digest recorded for them come
// from the same read, so a pipe, a file replaced mid-parse or /dev/stdin can never report the hash
// of other bytes than those parsed.

#include <cstdint>
#include <expected>
#include <string>
#include <system_error>
#include <vector>

namespace vorlin_core {

struct SourceBytes {
  std::vector<std::uint8_t> bytes;  // empty unless asked to keep them
  std::string sha256;               // of every byte read, 64 lowercase hex digits
};

// Opens `path` without blocking (a FIFO must not hang the caller), refuses anything but a regular
// file (EISDIR for a directory, SourceError::NotRegularFile for devices, FIFOs and sockets), then
// reads it in chunks up to the size the open descriptor reports: a file that grows while it is
// read is taken as it was when opened. A path holding a NUL is EINVAL.
std::expected<SourceBytes, std::error_code> read_source(const std::string& path, bool keep_bytes);

}  // namespace vorlin_core
