#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "core/zkw_string.h"

// A byte block shared by reference: copies share the block, and the last holder frees it. The
// frames of a picture keep their encoded bytes in one, so that a frame list can be handed on
// without copying pictures. It holds no device object, so any library may keep a picture.
class SharedBytes {
 public:
  // The largest block: frame pictures and containers are far smaller, and a size from a file
  // must not make the player allocate without bound.
  static constexpr uint64_t kMaxBytes = uint64_t{256} << 20;

  SharedBytes() = default;

  // A new block of `count` zero bytes replaces the held one (which loses this holder). False,
  // with nothing changed, when the count passes kMaxBytes.
  bool Allocate(uint64_t count);
  // A new block holding a copy of `bytes`; an empty one when they pass kMaxBytes.
  static SharedBytes CopyOf(std::span<const uint8_t> bytes);
  // The whole file at a stored path, when it is a regular file of at most kMaxBytes;
  // otherwise nothing changes. Answers whether the file was read.
  [[nodiscard]] bool ReadFile(const zkw_string& path);

  uint32_t Count() const { return count_; }
  const uint8_t* Data() const { return block_.get(); }
  uint8_t* Data() { return block_.get(); }
  std::span<const uint8_t> Bytes() const { return {block_.get(), count_}; }
  // Holders of the block (0 for a buffer that never had one).
  long Holders() const { return block_.use_count(); }

 private:
  uint32_t count_ = 0;
  std::shared_ptr<uint8_t[]> block_;
};
