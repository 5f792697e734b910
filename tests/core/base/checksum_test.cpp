#include "core/base/checksum.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "tests/core/support/test_support.h"

namespace ld {
namespace {

uint32_t ReferenceSum(const std::string& bytes, uint32_t initial = 0) {
  return std::accumulate(bytes.begin(), bytes.end(), initial,
                         [](uint32_t s, char c) { return s + static_cast<unsigned char>(c); });
}

std::string RandomBytes(std::size_t n, std::mt19937 rng = std::mt19937(1)) {
  std::string v(n, '\0');
  for (auto& b : v) b = static_cast<char>(rng());
  return v;
}

class ByteSumKernelTest : public testing::TestWithParam<ByteSumKernel> {};

// Every length up to a few vector blocks from every start offset within a
// cache line meets head, body and tail at odd alignments; 0xFF bytes push
// every partial lane to its limit and the total past 2^32.
TEST_P(ByteSumKernelTest, MatchesReferenceAtOddAlignmentsAndWraps) {
  if (!ByteSumKernelAvailable(GetParam())) GTEST_SKIP() << "kernel not available here";
  const std::string data = RandomBytes(600);
  for (std::size_t offset = 0; offset < 64; ++offset) {
    for (std::size_t len = 0; len + offset <= data.size(); len += (len < 300 ? 1 : 37))
      ASSERT_EQ(ReferenceSum(data.substr(offset, len), 12345),
                ByteSumWith(GetParam(), data.data() + offset, len, 12345))
          << "offset " << offset << " len " << len;
  }
  const std::vector<unsigned char> ff((std::size_t{1} << 24) + (std::size_t{1} << 20) + 4097, 0xFF);
  const uint64_t exact = uint64_t{0xFF} * ff.size() + 0xFFFFFF00u;
  EXPECT_EQ(static_cast<uint32_t>(exact),
            ByteSumWith(GetParam(), ff.data(), ff.size(), 0xFFFFFF00u));
}

INSTANTIATE_TEST_SUITE_P(AllKernels, ByteSumKernelTest,
                         testing::Values(ByteSumKernel::kPortable, ByteSumKernel::kSse2,
                                         ByteSumKernel::kAvx2));

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// A kernel the processor can run must be offered, not quietly replaced by the
// portable loop.
TEST(ByteSumKernels, OfferedWhereTheProcessorHasThem) {
  EXPECT_EQ(ByteSumKernelAvailable(ByteSumKernel::kSse2), bool(__builtin_cpu_supports("sse2")));
  EXPECT_EQ(ByteSumKernelAvailable(ByteSumKernel::kAvx2), bool(__builtin_cpu_supports("avx2")));
}
#endif

using FileChecksumTest = test::TempDirTest;

TEST_F(FileChecksumTest, SumsWholeFileAcrossBufferBoundariesAndZeroWithoutOne) {
  // Sizes around multiples of the buffer catch a lost or doubled last piece.
  for (std::size_t size : {1u, 6u, 7u, 8u, 14u, 15u, 1000u}) {
    const std::string bytes = RandomBytes(size);
    EXPECT_EQ(ReferenceSum(bytes),
              FileChecksummer(7).Sum(Write("f" + std::to_string(size), bytes)));
  }
  const std::string big = RandomBytes(FileChecksummer::kDefaultBufferSize * 3 + 5);
  EXPECT_EQ(ReferenceSum(big), FileChecksum(Write("big.dll", big)));
  EXPECT_EQ(0u, FileChecksum(Write("empty.exe", "")) + FileChecksum(Path("absent.exe")) +
                    FileChecksum(dir_.string()));
}

}  // namespace
}  // namespace ld
