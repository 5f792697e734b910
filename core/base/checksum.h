// Byte-sum checksum of files and buffers.
//
// Update lists carry, for every program file, the unsigned 32-bit sum of all
// its bytes (each byte added as 0..255, overflow wrapping). Installation and
// the pre-launch check compare that figure with the file on disk, and the
// publishing tool writes it, so both sides must use these functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ld {

// Adds every byte of [data, data + size) to `initial` modulo 2^32. Feeding a
// buffer in pieces and passing the previous result as `initial` gives the
// same sum as one call. Safe from any thread; no alignment needed.
uint32_t ByteSum(const void* data, std::size_t size, uint32_t initial = 0);

// The loops behind ByteSum, exposed so tests and benchmarks can reach each
// one on any machine. ByteSum uses the fastest available kernel.
enum class ByteSumKernel { kPortable, kSse2, kAvx2 };
bool ByteSumKernelAvailable(ByteSumKernel kernel);
// Falls back to the portable loop when `kernel` is not available.
uint32_t ByteSumWith(ByteSumKernel kernel, const void* data, std::size_t size,
                     uint32_t initial = 0);

// Reads files through one buffer that lives as long as the object, so a run
// that sums many files does not allocate (and fault in) a buffer per file.
// One object per thread: Sum uses the buffer without locking.
class FileChecksummer {
 public:
  static constexpr std::size_t kDefaultBufferSize = 128 * 1024;

  explicit FileChecksummer(std::size_t buffer_size = kDefaultBufferSize);

  // Byte sum of the file at `path` (ANSI bytes on Windows). A file that
  // cannot be opened, or whose reading fails part-way, sums to 0, as does an
  // empty one; callers that must tell these apart check the file first.
  uint32_t Sum(const std::string& path);

 private:
  std::vector<unsigned char> buffer_;
};

// Byte sum of the file at `path` through a buffer kept per calling thread.
// Same failure rule as FileChecksummer::Sum.
uint32_t FileChecksum(const std::string& path);

}  // namespace ld
