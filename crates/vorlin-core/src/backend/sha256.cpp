#include "vorlin_core/backend/sha256.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vorlin_core {
namespace {

// FIPS 180-4, section 4.2.2: the first 32 bits of the cube roots' fractions of the first 64 primes.
constexpr std::uint32_t kRounds[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// Section 5.3.3: the first 32 bits of the square roots' fractions of the first 8 primes.
constexpr std::array<std::uint32_t, 8> kInitialState = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

std::uint32_t load_big_endian(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

#if defined(__x86_64__)
// The x86 SHA extensions run a block several times faster than the portable rounds below. Each
// step does four rounds; the state is kept as the ABEF and CDGH halves the instructions expect,
// and the message schedule in four registers that take turns.
__attribute__((target("sha,sse4.1"))) void compress_with_sha_extensions(
    std::array<std::uint32_t, 8>& state, const std::uint8_t* blocks, std::size_t count) {
  const __m128i byte_swap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  auto* halves = reinterpret_cast<__m128i*>(state.data());
  const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(halves), 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(halves + 1), 0x1B);
  __m128i abef = _mm_alignr_epi8(dcba, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, dcba, 0xF0);
  for (const std::uint8_t* block = blocks; block != blocks + 64 * count; block += 64) {
    const __m128i abef_before = abef, cdgh_before = cdgh;
    __m128i w[4];
    for (int step = 0; step < 16; ++step) {
      __m128i& current = w[step % 4];
      if (step < 4) {
        current = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * step)), byte_swap);
      }
      __m128i message = _mm_add_epi32(
          current, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRounds + 4 * step)));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
      __m128i& previous = w[(step + 3) % 4];
      if (step >= 3 && step < 15) {
        __m128i& next = w[(step + 1) % 4];
        next = _mm_sha256msg2_epu32(_mm_add_epi32(next, _mm_alignr_epi8(current, previous, 4)),
                                    current);
      }
      message = _mm_shuffle_epi32(message, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
      if (step >= 1 && step < 13) previous = _mm_sha256msg1_epu32(previous, current);
    }
    abef = _mm_add_epi32(abef, abef_before);
    cdgh = _mm_add_epi32(cdgh, cdgh_before);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(halves, _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(halves + 1, _mm_alignr_epi8(dchg, feba, 8));
}

bool has_sha_extensions() {
  static const bool has =
      (__builtin_cpu_init(), __builtin_cpu_supports("sha")) && __builtin_cpu_supports("sse4.1");
  return has;
}
#endif

}  // namespace

Sha256::Sha256(bool cpu_extensions) : state_(kInitialState), cpu_extensions_(cpu_extensions) {}

void Sha256::compress(const std::uint8_t* blocks, std::size_t count) {
#if defined(__x86_64__)
  if (cpu_extensions_ && has_sha_extensions()) {
    return compress_with_sha_extensions(state_, blocks, count);
  }
#endif
  for (std::size_t i = 0; i < count; ++i) compress_portably(blocks + 64 * i);
}

void Sha256::compress_portably(const std::uint8_t* block) {
  std::uint32_t w[64];
  for (int i = 0; i < 16; ++i) w[i] = load_big_endian(block + 4 * i);
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 = std::rotr(w[i - 15], 7) ^ std::rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 = std::rotr(w[i - 2], 17) ^ std::rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  auto [a, b, c, d, e, f, g, h] = state_;
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t t1 = h + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) +
                             ((e & f) ^ (~e & g)) + kRounds[i] + w[i];
    const std::uint32_t t2 =
        (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  const std::uint32_t result[8] = {a, b, c, d, e, f, g, h};
  for (int i = 0; i < 8; ++i) state_[i] += result[i];
}

void Sha256::update(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;  // memcpy may not be given the null pointer of an empty span
  total_bytes_ += bytes.size();
  if (buffered_ > 0) {  // top up the waiting block first
    const std::size_t take = std::min(bytes.size(), block_.size() - buffered_);
    std::memcpy(block_.data() + buffered_, bytes.data(), take);
    buffered_ += take;
    bytes = bytes.subspan(take);
    if (buffered_ < block_.size()) return;
    compress(block_.data(), 1);
    buffered_ = 0;
  }
  const std::size_t whole = bytes.size() / block_.size();
  compress(bytes.data(), whole);  // straight from the input, without a copy
  bytes = bytes.subspan(whole * block_.size());
  std::memcpy(block_.data(), bytes.data(), bytes.size());
  buffered_ = bytes.size();
}

std::string Sha256::hex() {
  // Padding: a 1 bit, zeros up to 8 bytes short of a block, then the message length in bits.
  const std::uint64_t total_bits = total_bytes_ * 8;
  std::uint8_t padding[72] = {0x80};
  const std::size_t zeros = (block_.size() + 55 - buffered_) % block_.size();
  for (int i = 0; i < 8; ++i) {
    padding[1 + zeros + i] = static_cast<std::uint8_t>(total_bits >> (56 - 8 * i));
  }
  update({padding, 1 + zeros + 8});
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(64);
  for (const std::uint32_t word : state_) {
    for (int shift = 28; shift >= 0; shift -= 4) text.push_back(kHex[(word >> shift) & 15]);
  }
  return text;
}

std::string sha256_hex(std::span<const std::uint8_t> bytes) {
  Sha256 digest;
  digest.update(bytes);
  return digest.hex();
}

}  // namespace vorlin_core
