#pragma once
// 128-bit ULID identifying a node: 48-bit millisecond timestamp, 80 random bits.

#include <cstdint>
#include <functional>
#include <string>

namespace vorlin_core {

struct NodeId {
  std::uint64_t high = 0;  // timestamp << 16 | 16 random bits
  std::uint64_t low = 0;   // 64 random bits

  // The standard 26-character Crockford base32 text, most significant bits first.
  std::string to_string() const;
  // The same 26 characters appended to `out`, without a temporary string.
  void append_to(std::string& out) const;
  bool operator==(const NodeId&) const = default;
};

// A fresh id from the wall clock and the calling thread's CSPRNG.
NodeId new_node_id();

}  // namespace vorlin_core

template <>
struct std::hash<vorlin_core::NodeId> {
  std::size_t operator()(const vorlin_core::NodeId& id) const noexcept {
    return std::hash<std::uint64_t>{}(id.high ^ (id.low * 0x9E3779B97F4A7C15ull));
  }
};
