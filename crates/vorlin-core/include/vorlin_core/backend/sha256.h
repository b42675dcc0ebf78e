#pragma once
// Incremental SHA-256 (FIPS 180-4) through OpenSSL, written as 64 lowercase hex digits.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vorlin_core {

class Sha256 {
 public:
  // Throws std::runtime_error when OpenSSL cannot provide the digest: a broken installation,
  // never a property of the input.
  Sha256();
  void update(std::span<const std::uint8_t> bytes);
  // The digest of everything updated so far; the object is spent afterwards.
  std::string hex();

 private:
  struct Context;
  static void free_context(Context* context);
  std::unique_ptr<Context, void (*)(Context*)> context_;
};

std::string sha256_hex(std::span<const std::uint8_t> bytes);

}  // namespace vorlin_core
