#include "rm/payload_digest.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(_M_X64) || defined(__i386__) || defined(_M_IX86)
#define RM_DIGEST_X86 1
#include <nmmintrin.h>
#ifdef _MSC_VER
#include <intrin.h>
#endif
#endif

namespace rm {

namespace {

using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ ((c & 1) ? 0x82F63B78u : 0);
    t[0][i] = c;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (std::size_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  }
  return t;
}

constexpr Tables kTables = MakeTables();

std::uint64_t LoadLe64(const std::uint8_t* p) {
  std::uint64_t w = 0;
  for (int i = 7; i >= 0; --i) w = (w << 8) | p[i];
  return w;
}

std::uint32_t PortableByte(std::uint32_t crc, std::uint8_t b) {
  return kTables[0][(crc ^ b) & 0xFF] ^ (crc >> 8);
}

// One word, as the CRC32 instruction takes it: the eight bytes in memory order.
std::uint32_t PortableWord(std::uint32_t crc, const std::uint8_t* p) {
  const std::uint64_t x = LoadLe64(p) ^ crc;
  return kTables[7][x & 0xFF] ^ kTables[6][(x >> 8) & 0xFF] ^ kTables[5][(x >> 16) & 0xFF] ^
         kTables[4][(x >> 24) & 0xFF] ^ kTables[3][(x >> 32) & 0xFF] ^
         kTables[2][(x >> 40) & 0xFF] ^ kTables[1][(x >> 48) & 0xFF] ^ kTables[0][x >> 56];
}

void PortableWords(std::uint32_t* lanes, unsigned& next, const std::uint8_t* p, std::size_t n) {
  for (; n > 0; --n, p += 8) {
    lanes[next] = PortableWord(lanes[next], p);
    next = next == 2 ? 0 : next + 1;
  }
}

std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

#ifdef RM_DIGEST_X86
// The instruction is chosen at run time, not at build time: the i686 release build assumes no
// SSE4.2 (nor even SSE2), yet nearly every machine it runs on has it.
bool HasCrcInstruction() {
#ifdef _MSC_VER
  int info[4];
  __cpuid(info, 1);
  return (info[2] & (1 << 20)) != 0;
#else
  return __builtin_cpu_supports("sse4.2");
#endif
}

#ifndef _MSC_VER
__attribute__((target("sse4.2")))
#endif
std::uint32_t
FastWord(std::uint32_t crc, const std::uint8_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
#if defined(__x86_64__) || defined(_M_X64)
  return static_cast<std::uint32_t>(_mm_crc32_u64(crc, w));
#else
  crc = _mm_crc32_u32(crc, static_cast<std::uint32_t>(w));
  return _mm_crc32_u32(crc, static_cast<std::uint32_t>(w >> 32));
#endif
}

#ifndef _MSC_VER
__attribute__((target("sse4.2")))
#endif
void FastWords(std::uint32_t* lanes, unsigned& next, const std::uint8_t* p, std::size_t n) {
  for (; n > 0 && next != 0; --n, p += 8) {
    lanes[next] = FastWord(lanes[next], p);
    next = next == 2 ? 0 : next + 1;
  }
  if (next != 0) return;  // fewer words than it took to reach the first lane
  std::uint32_t a = lanes[0], b = lanes[1], c = lanes[2];
  for (; n >= 3; n -= 3, p += 24) {
    a = FastWord(a, p);
    b = FastWord(b, p + 8);
    c = FastWord(c, p + 16);
  }
  if (n > 0) a = FastWord(a, p);
  if (n > 1) b = FastWord(b, p + 8);
  lanes[0] = a, lanes[1] = b, lanes[2] = c;
  next = static_cast<unsigned>(n);
}

#ifndef _MSC_VER
__attribute__((target("sse4.2")))
#endif
std::uint32_t
FastByte(std::uint32_t crc, std::uint8_t b) {
  return _mm_crc32_u8(crc, b);
}
#endif

}  // namespace

std::uint32_t Crc32cPortable(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
  std::size_t i = 0;
  for (; bytes.size() - i >= 8; i += 8) crc = PortableWord(crc, bytes.data() + i);
  for (; i < bytes.size(); ++i) crc = PortableByte(crc, bytes[i]);
  return crc;
}

PayloadDigest::PayloadDigest(Kernel kernel) : fast_(false) {
#ifdef RM_DIGEST_X86
  fast_ = kernel == Kernel::kFastest && HasCrcInstruction();
#else
  (void)kernel;
#endif
  lanes_[0] = lanes_[1] = lanes_[2] = 0xFFFFFFFFu;
}

void PayloadDigest::Words(const std::uint8_t* data, std::size_t words) {
#ifdef RM_DIGEST_X86
  if (fast_) return FastWords(lanes_, next_, data, words);
#endif
  PortableWords(lanes_, next_, data, words);
}

void PayloadDigest::Add(std::span<const std::uint8_t> bytes) {
  length_ += bytes.size();
  bytes_ += bytes.size();
  if (partialSize_ > 0) {
    const std::size_t n = std::min(bytes.size(), 8 - partialSize_);
    std::memcpy(partial_ + partialSize_, bytes.data(), n);
    partialSize_ += n;
    bytes = bytes.subspan(n);
    if (partialSize_ < 8) return;
    Words(partial_, 1);
    partialSize_ = 0;
  }
  const std::size_t words = bytes.size() / 8;
  Words(bytes.data(), words);
  partialSize_ = bytes.size() - words * 8;
  std::memcpy(partial_, bytes.data() + words * 8, partialSize_);
}

void PayloadDigest::EndPayload() {
  std::uint32_t& lane = lanes_[next_];
  for (std::size_t i = 0; i < partialSize_; ++i) {
#ifdef RM_DIGEST_X86
    if (fast_) {
      lane = FastByte(lane, partial_[i]);
      continue;
    }
#endif
    lane = PortableByte(lane, partial_[i]);
  }
  // The length is folded in too: the lanes alone could not tell where one payload ends and the
  // next begins when bytes move across the boundary.
  const std::uint64_t payload = Mix((std::uint64_t{lanes_[0]} << 32 | lanes_[1]) ^
                                    Mix(std::uint64_t{lanes_[2]} << 32 ^ length_));
  value_ = Mix(value_ ^ payload);
  ++payloads_;
  lanes_[0] = lanes_[1] = lanes_[2] = 0xFFFFFFFFu;
  next_ = 0;
  partialSize_ = 0;
  length_ = 0;
}

}  // namespace rm
