#include "guarded_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace unreal_test {

GuardedBuffer::GuardedBuffer(const std::vector<uint8_t>& bytes) : size_(std::ssize(bytes)) {
  const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t readable = (bytes.size() + page - 1) / page * page;
  map_size_ = readable + page;
  map_ = mmap(nullptr, map_size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (map_ == MAP_FAILED) throw std::runtime_error("mmap failed");
  auto* guard = static_cast<uint8_t*>(map_) + readable;
  if (mprotect(guard, page, PROT_NONE) != 0) throw std::runtime_error("mprotect failed");
  data_ = guard - bytes.size();
  if (!bytes.empty()) std::memcpy(data_, bytes.data(), bytes.size());
}

GuardedBuffer::~GuardedBuffer() {
  munmap(map_, map_size_);
}

}  // namespace unreal_test
