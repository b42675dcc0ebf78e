#include "vorlin_core/model/node_id.h"

#include <openssl/rand.h>

#include <chrono>
#include <stdexcept>

namespace vorlin_core {
namespace {

// OpenSSL's per-thread DRBG is seeded from the OS entropy source and reseeds itself.
template <typename T>
T random_value() {
  T value{};
  if (RAND_bytes(reinterpret_cast<unsigned char*>(&value), sizeof value) != 1) {
    throw std::runtime_error("the system random generator failed");
  }
  return value;
}

std::uint64_t unix_millis() {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
  return millis < 0 ? 0 : static_cast<std::uint64_t>(millis);
}

}  // namespace

std::string NodeId::to_string() const {
  static constexpr char kAlphabet[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
  std::string text(26, '0');
  // 130 bits of text for 128 bits of id: the first character carries the top 3 bits.
  unsigned __int128 value = (static_cast<unsigned __int128>(high) << 64) | low;
  for (int i = 25; i >= 0; --i) {
    text[i] = kAlphabet[static_cast<unsigned>(value & 31)];
    value >>= 5;
  }
  return text;
}

NodeId new_node_id() {
  const std::uint64_t timestamp = unix_millis() & 0xFFFF'FFFF'FFFFull;
  const std::uint32_t entropy_high = random_value<std::uint32_t>();
  const std::uint64_t entropy_low = random_value<std::uint64_t>();
  return NodeId{(timestamp << 16) | (entropy_high & 0xFFFF), entropy_low};
}

}  // namespace vorlin_core
