#include "core/base/checksum.h"

#include <cstdio>
#include <cstring>
#include <memory>

// The sum is memory-bound: with SAD (sum of absolute differences against
// zero) one instruction folds 16 or 32 bytes into 64-bit lanes that cannot
// overflow, so the vector loops keep up with plain reads. x86_64 always has
// SSE2; 32-bit builds and AVX2 are chosen at run time where the compiler
// lets single functions target them (GCC and Clang).
#if defined(__x86_64__) || defined(_M_X64) || defined(__i386__) || defined(_M_IX86)
#define LD_X86 1
#include <immintrin.h>
#endif

#if defined(LD_X86) && \
    (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define LD_SSE2_ALWAYS 1
#endif

#if defined(LD_X86) && defined(__GNUC__)
#define LD_X86_DISPATCH 1
#define LD_TARGET(t) __attribute__((target(t)))
#else
#define LD_TARGET(t)
#endif

namespace ld {
namespace {

// Portable loop: bytes of a 64-bit word are paired into 16-bit lanes; 128
// words add at most 128 * 2 * 255 = 65280 per lane, so lanes are folded into
// the total every 128 words.
uint64_t SumPortable(const unsigned char* p, std::size_t n) {
  constexpr uint64_t kLow = 0x00FF00FF00FF00FFull;
  uint64_t total = 0;
  while (n >= 8) {
    std::size_t words = n / 8;
    if (words > 128) words = 128;
    uint64_t lanes = 0;
    for (std::size_t i = 0; i < words; ++i) {
      uint64_t w;
      std::memcpy(&w, p + i * 8, 8);
      lanes += (w & kLow) + ((w >> 8) & kLow);
    }
    // Pairs of lanes into 32-bit halves; four full lanes would not fit 16 bits.
    uint64_t halves = (lanes & 0x0000FFFF0000FFFFull) + ((lanes >> 16) & 0x0000FFFF0000FFFFull);
    total += (halves & 0xFFFFFFFFull) + (halves >> 32);
    p += words * 8;
    n -= words * 8;
  }
  while (n--) total += *p++;
  return total;
}

#if defined(LD_SSE2_ALWAYS) || defined(LD_X86_DISPATCH)
LD_TARGET("sse2") uint64_t SumSse2(const unsigned char* p, std::size_t n) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
  while (n >= 64) {
    a0 = _mm_add_epi64(a0, _mm_sad_epu8(_mm_loadu_si128((const __m128i*)p), zero));
    a1 = _mm_add_epi64(a1, _mm_sad_epu8(_mm_loadu_si128((const __m128i*)(p + 16)), zero));
    a2 = _mm_add_epi64(a2, _mm_sad_epu8(_mm_loadu_si128((const __m128i*)(p + 32)), zero));
    a3 = _mm_add_epi64(a3, _mm_sad_epu8(_mm_loadu_si128((const __m128i*)(p + 48)), zero));
    p += 64;
    n -= 64;
  }
  while (n >= 16) {
    a0 = _mm_add_epi64(a0, _mm_sad_epu8(_mm_loadu_si128((const __m128i*)p), zero));
    p += 16;
    n -= 16;
  }
  __m128i s = _mm_add_epi64(_mm_add_epi64(a0, a1), _mm_add_epi64(a2, a3));
  s = _mm_add_epi64(s, _mm_unpackhi_epi64(s, s));
  uint64_t lanes[2];
  _mm_storeu_si128((__m128i*)lanes, s);
  uint64_t total = lanes[0];
  while (n--) total += *p++;
  return total;
}
#endif

#if defined(LD_X86_DISPATCH)
LD_TARGET("avx2") uint64_t SumAvx2(const unsigned char* p, std::size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
  while (n >= 128) {
    a0 = _mm256_add_epi64(a0, _mm256_sad_epu8(_mm256_loadu_si256((const __m256i*)p), zero));
    a1 = _mm256_add_epi64(a1, _mm256_sad_epu8(_mm256_loadu_si256((const __m256i*)(p + 32)), zero));
    a2 = _mm256_add_epi64(a2, _mm256_sad_epu8(_mm256_loadu_si256((const __m256i*)(p + 64)), zero));
    a3 = _mm256_add_epi64(a3, _mm256_sad_epu8(_mm256_loadu_si256((const __m256i*)(p + 96)), zero));
    p += 128;
    n -= 128;
  }
  while (n >= 32) {
    a0 = _mm256_add_epi64(a0, _mm256_sad_epu8(_mm256_loadu_si256((const __m256i*)p), zero));
    p += 32;
    n -= 32;
  }
  __m256i s = _mm256_add_epi64(_mm256_add_epi64(a0, a1), _mm256_add_epi64(a2, a3));
  __m128i h = _mm_add_epi64(_mm256_castsi256_si128(s), _mm256_extracti128_si256(s, 1));
  h = _mm_add_epi64(h, _mm_unpackhi_epi64(h, h));
  uint64_t lanes[2];
  _mm_storeu_si128((__m128i*)lanes, h);
  uint64_t total = lanes[0];
  while (n--) total += *p++;
  // Vector state is left clean for SSE code that follows.
  _mm256_zeroupper();
  return total;
}
#endif

using SumFn = uint64_t (*)(const unsigned char*, std::size_t);

// The kernel's function when this build and this processor can run it.
SumFn KernelFn(ByteSumKernel kernel) {
#if defined(LD_X86_DISPATCH)
  __builtin_cpu_init();
#endif
  switch (kernel) {
    case ByteSumKernel::kPortable:
      return SumPortable;
    case ByteSumKernel::kSse2:
#if defined(LD_SSE2_ALWAYS)
      return SumSse2;
#elif defined(LD_X86_DISPATCH)
      return __builtin_cpu_supports("sse2") ? SumSse2 : nullptr;
#else
      return nullptr;
#endif
    case ByteSumKernel::kAvx2:
#if defined(LD_X86_DISPATCH)
      return __builtin_cpu_supports("avx2") ? SumAvx2 : nullptr;
#else
      return nullptr;
#endif
  }
  return nullptr;
}

SumFn PickSum() {
  for (ByteSumKernel k : {ByteSumKernel::kAvx2, ByteSumKernel::kSse2}) {
    if (SumFn fn = KernelFn(k)) return fn;
  }
  return SumPortable;
}

// Chosen once; the static's initialisation is thread-safe.
SumFn Sum() {
  static const SumFn fn = PickSum();
  return fn;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool ByteSumKernelAvailable(ByteSumKernel kernel) { return KernelFn(kernel) != nullptr; }

uint32_t ByteSumWith(ByteSumKernel kernel, const void* data, std::size_t size, uint32_t initial) {
  SumFn fn = KernelFn(kernel);
  if (fn == nullptr) fn = SumPortable;
  return static_cast<uint32_t>(initial + fn(static_cast<const unsigned char*>(data), size));
}

uint32_t ByteSum(const void* data, std::size_t size, uint32_t initial) {
  if (size == 0) return initial;
  return static_cast<uint32_t>(initial + Sum()(static_cast<const unsigned char*>(data), size));
}

FileChecksummer::FileChecksummer(std::size_t buffer_size)
    : buffer_(buffer_size == 0 ? kDefaultBufferSize : buffer_size) {}

uint32_t FileChecksummer::Sum(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return 0;
  // Our buffer is the only one; the stream's own would copy every byte twice.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  uint32_t sum = 0;
  for (;;) {
    std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file.get());
    sum = ByteSum(buffer_.data(), got, sum);
    if (got < buffer_.size()) break;
  }
  if (std::ferror(file.get())) return 0;
  return sum;
}

uint32_t FileChecksum(const std::string& path) {
  thread_local FileChecksummer checksummer;
  return checksummer.Sum(path);
}

}  // namespace ld
