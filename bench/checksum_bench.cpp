// Byte-sum throughput against the fastest plain read of the same buffer.
//
// The checksum should run at memory speed: compare "ByteSum" with the best
// "ReadBaseline" of the same size (goal: at least 80%). Sizes: 256 KiB stays
// in L2, 64 MiB goes to memory. The file benchmarks compare FileChecksum with
// plain reads through the same kind of buffer from the page cache.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/base/checksum.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LD_BENCH_X86 1
#endif

namespace {

constexpr std::size_t kL2Size = 256 * 1024;
constexpr std::size_t kLargeSize = 64 * 1024 * 1024;

const std::vector<unsigned char>& Buffer(std::size_t size) {
  static std::vector<unsigned char> l2, large;
  std::vector<unsigned char>& v = size == kL2Size ? l2 : large;
  if (v.size() != size) {
    v.resize(size);
    std::mt19937 rng(7);
    for (auto& b : v) b = static_cast<unsigned char>(rng());
  }
  return v;
}

// Plain 64-bit word XOR: what the compiler makes of an ordinary read loop.
uint64_t XorWords(const unsigned char* p, std::size_t n) {
  uint64_t a = 0, b = 0, c = 0, d = 0;
  for (std::size_t i = 0; i + 32 <= n; i += 32) {
    uint64_t w[4];
    std::memcpy(w, p + i, 32);
    a ^= w[0];
    b ^= w[1];
    c ^= w[2];
    d ^= w[3];
  }
  return a ^ b ^ c ^ d;
}

#if defined(LD_BENCH_X86)
// Wide loads with one cheap operation each: the fastest this machine reads.
__attribute__((target("avx2"))) uint64_t OrAvx2(const unsigned char* p, std::size_t n) {
  __m256i a = _mm256_setzero_si256(), b = a, c = a, d = a;
  for (std::size_t i = 0; i + 128 <= n; i += 128) {
    a = _mm256_or_si256(a, _mm256_loadu_si256((const __m256i*)(p + i)));
    b = _mm256_or_si256(b, _mm256_loadu_si256((const __m256i*)(p + i + 32)));
    c = _mm256_or_si256(c, _mm256_loadu_si256((const __m256i*)(p + i + 64)));
    d = _mm256_or_si256(d, _mm256_loadu_si256((const __m256i*)(p + i + 96)));
  }
  __m256i s = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
  return static_cast<uint64_t>(_mm256_extract_epi64(s, 0) | _mm256_extract_epi64(s, 3));
}
#endif

void SetBytes(benchmark::State& state, std::size_t size) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

void BM_ReadBaselineXor(benchmark::State& state) {
  const auto& buf = Buffer(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(XorWords(buf.data(), buf.size()));
  SetBytes(state, buf.size());
}
BENCHMARK(BM_ReadBaselineXor)->Arg(kL2Size)->Arg(kLargeSize);

#if defined(LD_BENCH_X86)
void BM_ReadBaselineAvx2(benchmark::State& state) {
  if (!__builtin_cpu_supports("avx2")) {
    state.SkipWithError("no AVX2");
    return;
  }
  const auto& buf = Buffer(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(OrAvx2(buf.data(), buf.size()));
  SetBytes(state, buf.size());
}
BENCHMARK(BM_ReadBaselineAvx2)->Arg(kL2Size)->Arg(kLargeSize);
#endif

void BM_ByteSum(benchmark::State& state) {
  const auto& buf = Buffer(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ld::ByteSum(buf.data(), buf.size()));
  SetBytes(state, buf.size());
}
BENCHMARK(BM_ByteSum)->Arg(kL2Size)->Arg(kLargeSize);

void BM_ByteSumKernel(benchmark::State& state) {
  const auto kernel = static_cast<ld::ByteSumKernel>(state.range(1));
  if (!ld::ByteSumKernelAvailable(kernel)) {
    state.SkipWithError("kernel not available");
    return;
  }
  const auto& buf = Buffer(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ld::ByteSumWith(kernel, buf.data(), buf.size()));
  SetBytes(state, buf.size());
}
BENCHMARK(BM_ByteSumKernel)
    ->ArgNames({"size", "kernel"})
    ->ArgsProduct({{kL2Size, kLargeSize}, {0, 1, 2}});  // portable, sse2, avx2

// A file in the page cache: FileChecksum against fread of the same buffer.
std::string g_temp_path;

const std::string& TempFile() {
  std::string& path = g_temp_path;
  if (path.empty()) {
    path = (std::filesystem::temp_directory_path() / "ld_checksum_bench.bin").string();
    const auto& buf = Buffer(kLargeSize);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(buf.data()), static_cast<std::streamsize>(buf.size()));
  }
  return path;
}

void BM_FileReadBaseline(benchmark::State& state) {
  const std::string& path = TempFile();
  std::vector<unsigned char> buf(ld::FileChecksummer::kDefaultBufferSize);
  uint64_t x = 0;
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::setvbuf(f, nullptr, _IONBF, 0);
    std::size_t got;
    while ((got = std::fread(buf.data(), 1, buf.size(), f)) > 0) x ^= buf[got - 1];
    std::fclose(f);
  }
  benchmark::DoNotOptimize(x);
  SetBytes(state, kLargeSize);
}
BENCHMARK(BM_FileReadBaseline)->Unit(benchmark::kMillisecond);

void BM_FileChecksum(benchmark::State& state) {
  const std::string& path = TempFile();
  for (auto _ : state) benchmark::DoNotOptimize(ld::FileChecksum(path));
  SetBytes(state, kLargeSize);
}
BENCHMARK(BM_FileChecksum)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!g_temp_path.empty()) std::remove(g_temp_path.c_str());
  return 0;
}
