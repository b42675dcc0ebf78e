#include "vorlin_core/backend/sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace vorlin_core {

struct Sha256::Context {
  EVP_MD_CTX* md;
};

namespace {

void check(int status, const char* what) {
  if (status != 1) throw std::runtime_error(std::string("SHA-256 ") + what + " failed in OpenSSL");
}

}  // namespace

void Sha256::free_context(Context* context) {
  if (!context) return;
  EVP_MD_CTX_free(context->md);
  delete context;
}

Sha256::Sha256() : context_(new Context{EVP_MD_CTX_new()}, free_context) {
  if (!context_->md) throw std::runtime_error("SHA-256 is unavailable");
  check(EVP_DigestInit_ex(context_->md, EVP_sha256(), nullptr), "init");
}

void Sha256::update(std::span<const std::uint8_t> bytes) {
  check(EVP_DigestUpdate(context_->md, bytes.data(), bytes.size()), "update");
}

std::string Sha256::hex() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  check(EVP_DigestFinal_ex(context_->md, digest, &length), "final");
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * length);
  for (unsigned int i = 0; i < length; ++i) {
    text.push_back(kHex[digest[i] >> 4]);
    text.push_back(kHex[digest[i] & 15]);
  }
  return text;
}

std::string sha256_hex(std::span<const std::uint8_t> bytes) {
  Sha256 digest;
  digest.update(bytes);
  return digest.hex();
}

}  // namespace vorlin_core
