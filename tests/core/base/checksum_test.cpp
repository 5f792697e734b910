#include "core/base/checksum.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/core/support/test_support.h"

namespace ld {
namespace {

uint32_t ReferenceSum(const void* data, std::size_t n, uint32_t initial = 0) {
  const auto* p = static_cast<const unsigned char*>(data);
  uint32_t s = initial;
  for (std::size_t i = 0; i < n; ++i) s += p[i];
  return s;
}

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string v(n, '\0');
  for (auto& b : v) b = static_cast<char>(rng());
  return v;
}

class ByteSumKernelTest : public testing::TestWithParam<ByteSumKernel> {
 protected:
  void SetUp() override {
    if (!ByteSumKernelAvailable(GetParam())) GTEST_SKIP() << "kernel not available here";
  }
};

// Every length up to a few vector blocks, from every start offset within a
// cache line, so head, body and tail paths all meet odd alignments.
TEST_P(ByteSumKernelTest, MatchesReferenceOnOddLengthsAndMisalignedStarts) {
  const std::string data = RandomBytes(600, 1);
  for (std::size_t offset = 0; offset < 64; ++offset) {
    for (std::size_t len = 0; len + offset <= data.size(); len += (len < 300 ? 1 : 37)) {
      const char* p = data.data() + offset;
      ASSERT_EQ(ReferenceSum(p, len, 12345), ByteSumWith(GetParam(), p, len, 12345))
          << "offset " << offset << " len " << len;
    }
  }
}

// 0xFF bytes push every partial lane to its limit and the total past 2^32.
TEST_P(ByteSumKernelTest, WrapsPast32Bits) {
  const std::vector<unsigned char> data((std::size_t{1} << 24) + (std::size_t{1} << 20) + 4097,
                                        0xFF);
  const uint64_t exact = uint64_t{0xFF} * data.size();
  ASSERT_GT(exact, uint64_t{UINT32_MAX});
  EXPECT_EQ(static_cast<uint32_t>(exact), ByteSumWith(GetParam(), data.data(), data.size()));
  EXPECT_EQ(static_cast<uint32_t>(exact + 0xFFFFFF00u),
            ByteSumWith(GetParam(), data.data(), data.size(), 0xFFFFFF00u));
}

INSTANTIATE_TEST_SUITE_P(AllKernels, ByteSumKernelTest,
                         testing::Values(ByteSumKernel::kPortable, ByteSumKernel::kSse2,
                                         ByteSumKernel::kAvx2),
                         [](const testing::TestParamInfo<ByteSumKernel>& info) {
                           return std::string(std::vector<const char*>{
                               "portable", "sse2", "avx2"}[static_cast<int>(info.param)]);
                         });

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// A kernel the processor can run must be offered, not quietly replaced by the
// portable loop.
TEST(ByteSumKernels, OfferedWhereTheProcessorHasThem) {
  EXPECT_EQ(ByteSumKernelAvailable(ByteSumKernel::kSse2), bool(__builtin_cpu_supports("sse2")));
  EXPECT_EQ(ByteSumKernelAvailable(ByteSumKernel::kAvx2), bool(__builtin_cpu_supports("avx2")));
  EXPECT_TRUE(ByteSumKernelAvailable(ByteSumKernel::kPortable));
}
#endif

using FileChecksumTest = test::TempDirTest;

TEST_F(FileChecksumTest, SumsWholeFileAcrossBufferBoundaries) {
  // Sizes around multiples of the buffer catch a lost or doubled last piece.
  for (std::size_t size : {1u, 6u, 7u, 8u, 14u, 15u, 1000u}) {
    const std::string bytes = RandomBytes(size, static_cast<unsigned>(size));
    const std::string path = Write("f" + std::to_string(size) + ".bin", bytes);
    FileChecksummer small(7);
    EXPECT_EQ(ReferenceSum(bytes.data(), bytes.size()), small.Sum(path)) << size;
    EXPECT_EQ(ReferenceSum(bytes.data(), bytes.size()), FileChecksum(path)) << size;
  }
  const std::string big = RandomBytes(FileChecksummer::kDefaultBufferSize * 3 + 5, 9);
  EXPECT_EQ(ReferenceSum(big.data(), big.size()), FileChecksum(Write("big.dll", big)));
}

TEST_F(FileChecksumTest, EmptyMissingAndDirectorySumToZero) {
  EXPECT_EQ(0u, FileChecksum(Write("empty.exe", "")));
  EXPECT_EQ(0u, FileChecksum(Path("absent.exe")));
  EXPECT_EQ(0u, FileChecksum(dir_.string()));
}

}  // namespace
}  // namespace ld
