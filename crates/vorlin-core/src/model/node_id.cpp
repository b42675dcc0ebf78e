#include "vorlin_core/model/node_id.h"

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>

namespace vorlin_core {
namespace {

// The kernel's generator: no library state to seed, nothing to redo after a fork.
// One draw gives both the 32-bit and the 64-bit value of an id.
struct Entropy {
  std::uint32_t high;
  std::uint64_t low;
};

Entropy draw_entropy() {
  unsigned char bytes[12];
  if (getentropy(bytes, sizeof bytes) != 0) {
    throw std::runtime_error("the system random generator failed");
  }
  Entropy entropy{};
  std::memcpy(&entropy.high, bytes, 4);
  std::memcpy(&entropy.low, bytes + 4, 8);
  return entropy;
}

std::uint64_t unix_millis() {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
  return millis < 0 ? 0 : static_cast<std::uint64_t>(millis);
}

}  // namespace

std::string NodeId::to_string() const {
  std::string text;
  append_to(text);
  return text;
}

void NodeId::append_to(std::string& out) const {
  static constexpr char kAlphabet[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
  char text[26];
  // 130 bits of text for 128 bits of id: the first character carries the top 3 bits.
  unsigned __int128 value = (static_cast<unsigned __int128>(high) << 64) | low;
  for (int i = 25; i >= 0; --i) {
    text[i] = kAlphabet[static_cast<unsigned>(value & 31)];
    value >>= 5;
  }
  out.append(text, sizeof text);
}

NodeId new_node_id() {
  const std::uint64_t timestamp = unix_millis() & 0xFFFF'FFFF'FFFFull;
  const Entropy entropy = draw_entropy();
  return NodeId{(timestamp << 16) | (entropy.high & 0xFFFF), entropy.low};
}

}  // namespace vorlin_core
