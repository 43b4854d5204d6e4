#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace unreal_test {

// Bytes placed so that the first byte past them lies on an unreadable page: any read at or
// beyond the end faults.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(const std::vector<uint8_t>& bytes);
  ~GuardedBuffer();
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;

  const uint8_t* data() const { return data_; }
  int64_t size() const { return size_; }

 private:
  void* map_ = nullptr;
  size_t map_size_ = 0;
  uint8_t* data_ = nullptr;
  int64_t size_ = 0;
};

}  // namespace unreal_test
