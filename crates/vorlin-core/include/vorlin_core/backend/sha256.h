#pragma once
// Incremental SHA-256 (FIPS 180-4), written as 64 lowercase hex digits. Our own: a crypto library
// would add megabytes to the module for one digest.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vorlin_core {

class Sha256 {
 public:
  // Blocks go through the CPU's SHA instructions where it has them, unless `cpu_extensions` is
  // false: the tests check the portable rounds that way on any machine.
  explicit Sha256(bool cpu_extensions = true);
  void update(std::span<const std::uint8_t> bytes);
  // The digest of everything updated so far; the object is spent afterwards.
  std::string hex();

 private:
  void compress(const std::uint8_t* blocks, std::size_t count);
  void compress_portably(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> block_{};
  std::size_t buffered_ = 0;  // bytes of block_ waiting for the rest of their block
  std::uint64_t total_bytes_ = 0;
  bool cpu_extensions_;
};

std::string sha256_hex(std::span<const std::uint8_t> bytes);

}  // namespace vorlin_core
