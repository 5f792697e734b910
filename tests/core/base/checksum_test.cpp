#include "core/base/checksum.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace ld {
namespace {

namespace fs = std::filesystem;

uint32_t ReferenceSum(const unsigned char* p, std::size_t n, uint32_t initial = 0) {
  uint32_t s = initial;
  for (std::size_t i = 0; i < n; ++i) s += p[i];
  return s;
}

std::vector<unsigned char> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<unsigned char> v(n);
  for (auto& b : v) b = static_cast<unsigned char>(rng());
  return v;
}

const char* KernelName(ByteSumKernel k) {
  switch (k) {
    case ByteSumKernel::kPortable:
      return "portable";
    case ByteSumKernel::kSse2:
      return "sse2";
    case ByteSumKernel::kAvx2:
      return "avx2";
  }
  return "?";
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
  const auto data = RandomBytes(600, 1);
  for (std::size_t offset = 0; offset < 64; ++offset) {
    for (std::size_t len = 0; len + offset <= data.size(); len += (len < 300 ? 1 : 37)) {
      const unsigned char* p = data.data() + offset;
      ASSERT_EQ(ReferenceSum(p, len, 12345), ByteSumWith(GetParam(), p, len, 12345))
          << "offset " << offset << " len " << len;
    }
  }
}

TEST_P(ByteSumKernelTest, LargeRandomBuffer) {
  const auto data = RandomBytes((1 << 20) + 13, 2);
  EXPECT_EQ(ReferenceSum(data.data() + 3, data.size() - 3),
            ByteSumWith(GetParam(), data.data() + 3, data.size() - 3));
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
                           return std::string(KernelName(info.param));
                         });

class FileChecksumTest : public testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("ld_checksum_test_" + std::to_string(rd()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) {
    fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return p.string();
  }
  fs::path dir_;
};

TEST_F(FileChecksumTest, SumsWholeFileAcrossBufferBoundaries) {
  // Sizes around multiples of the buffer catch a lost or doubled last piece.
  for (std::size_t size : {1u, 6u, 7u, 8u, 14u, 15u, 1000u}) {
    const auto bytes = RandomBytes(size, static_cast<unsigned>(size));
    const std::string path = Write("f" + std::to_string(size) + ".bin", bytes);
    FileChecksummer small(7);
    EXPECT_EQ(ReferenceSum(bytes.data(), bytes.size()), small.Sum(path)) << size;
    EXPECT_EQ(ReferenceSum(bytes.data(), bytes.size()), FileChecksum(path)) << size;
  }
}

TEST_F(FileChecksumTest, LargerThanDefaultBuffer) {
  const auto bytes = RandomBytes(FileChecksummer::kDefaultBufferSize * 3 + 5, 9);
  const std::string path = Write("big.dll", bytes);
  EXPECT_EQ(ReferenceSum(bytes.data(), bytes.size()), FileChecksum(path));
}

TEST_F(FileChecksumTest, EmptyMissingAndDirectorySumToZero) {
  EXPECT_EQ(0u, FileChecksum(Write("empty.exe", {})));
  EXPECT_EQ(0u, FileChecksum((dir_ / "absent.exe").string()));
  EXPECT_EQ(0u, FileChecksum(dir_.string()));
}

}  // namespace
}  // namespace ld
