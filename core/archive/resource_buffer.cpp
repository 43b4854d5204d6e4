#include "core/archive/resource_buffer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

bool ResourceBuffer::Open(const std::filesystem::path& path) {
  begin_ = cur_ = end_ = nullptr;
  failed_ = false;
  reason_.clear();
  filePos_ = 0;
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) {
    reason_ = ec && ec != std::errc::no_such_file_or_directory
                  ? "the file cannot be found: " + ec.message()
                  : "there is no such file";
    return false;
  }
  if (!std::filesystem::is_regular_file(status)) {
    reason_ = std::filesystem::is_directory(status) ? "it is a folder, not a file"
                                                    : "it is not a regular file";
    return false;
  }
  fileSize_ = std::filesystem::file_size(path, ec);
  if (!ec) {
    errno = 0;
    file_.open(path, std::ios::binary);
    if (!file_.is_open()) ec = std::error_code(errno, std::generic_category());
  }
  if (ec) {
    reason_ = "the file cannot be read: " + ec.message();
    return false;
  }
  return true;
}

void ResourceBuffer::SetMemory(const void* data, size_t size) {
  if (file_.is_open()) file_.close();
  begin_ = cur_ = static_cast<const uint8_t*>(data);
  end_ = cur_ + size;
  failed_ = false;
  reason_.clear();
  if (cur_ == nullptr) {
    // An empty block still counts as memory mode, so it reads as empty rather than as no file.
    static const uint8_t kEmpty = 0;
    begin_ = cur_ = end_ = &kEmpty;
  }
}

uint64_t ResourceBuffer::Position() const {
  return IsMemory() ? static_cast<uint64_t>(cur_ - begin_) : filePos_;
}

uint64_t ResourceBuffer::Size() const {
  return IsMemory() ? static_cast<uint64_t>(end_ - begin_) : fileSize_;
}

void ResourceBuffer::FailWith(std::string reason) {
  if (!failed_) reason_ = std::move(reason);
  failed_ = true;
}

void ResourceBuffer::Fail(std::string_view reason) {
  if (!failed_) FailWith(std::string(reason) + " at byte " + std::to_string(Position()));
}

uint64_t ResourceBuffer::Remaining() const {
  if (failed_) return 0;
  if (IsMemory()) return static_cast<uint64_t>(end_ - cur_);
  if (file_.is_open()) return fileSize_ - filePos_;
  return 0;
}

bool ResourceBuffer::Require(uint64_t bytes) {
  if (Remaining() >= bytes) return true;
  if (!failed_)
    FailWith("a length of " + std::to_string(bytes) + " bytes at byte " +
             std::to_string(Position()) + " passes the end of the data at byte " +
             std::to_string(Size()));
  return false;
}

size_t ResourceBuffer::ReadRaw(void* out, size_t count) {
  const uint64_t start = Position();
  size_t n = static_cast<size_t>(std::min<uint64_t>(count, Remaining()));
  if (n > 0) {
    if (IsMemory()) {
      std::memcpy(out, cur_, n);
      cur_ += n;
    } else {
      file_.read(static_cast<char*>(out), static_cast<std::streamsize>(n));
      n = static_cast<size_t>(file_.gcount());
      filePos_ += n;
    }
  }
  if (n < count && !failed_) {
    FailWith("the data ends at byte " + std::to_string(Size()) + ", inside a value of " +
             std::to_string(count) + " bytes at byte " + std::to_string(start));
  }
  return n;
}

bool ResourceBuffer::ReadLength(uint32_t& n) {
  uint8_t l8 = 0;
  if (ReadRaw(&l8, 1) != 1) return false;
  n = l8;
  if (l8 != 0xFF) return true;
  uint16_t l16 = 0;
  if (ReadRaw(&l16, 2) != 2) return false;
  n = l16;
  if (l16 != 0xFFFF) return true;
  return ReadRaw(&n, 4) == 4;
}

void ResourceBuffer::ReadWideString(zkw_string& out) {
  if (!IsOpen()) return;
  uint8_t marker[3];
  uint32_t n = 0;
  if (ReadRaw(marker, 3) != 3 || !ReadLength(n)) return;
  if (n == 0) {
    // A file leaves the destination as it was; memory decodes into a fresh, empty string.
    if (IsMemory()) out.clear();
    return;
  }
  if (!Require(uint64_t{n} * 2)) return;
  zkw_string text(n, u'\0');
  ReadRaw(text.data(), size_t{n} * 2);
  text.resize(std::char_traits<char16_t>::length(text.c_str()));
  out = std::move(text);
}

void ResourceBuffer::ReadNarrowString(std::string& out) {
  // Narrow strings are only ever read from files; memory and closed sources give "".
  if (IsMemory() || !file_.is_open()) {
    out.clear();
    return;
  }
  uint32_t n = 0;
  if (!ReadLength(n) || !Require(n)) return;
  std::string text(n, '\0');
  ReadRaw(text.data(), n);
  text.resize(std::strlen(text.c_str()));
  out = std::move(text);
}

void ResourceBuffer::ReadFileData(FileDataRecord& out) {
  uint32_t size = 0;
  if (ReadRaw(&size, 4) != 4) return;
  if (size == 0) {
    out.bytes.clear();
  } else if (Require(size)) {
    std::vector<uint8_t> bytes(size);
    ReadRaw(bytes.data(), size);
    out.bytes = std::move(bytes);
  }
  ReadWideString(out.path);
}

void ResourceBuffer::ReadResourceRecord(ResourceDataRecord& out) {
  ReadRaw(&out.resourceId, 4);
  ReadWideString(out.module);
  ReadFileData(out);
}

void ResourceBuffer::ReadDwordVector(std::vector<uint32_t>& out) {
  uint32_t count = 0;
  if (ReadRaw(&count, 4) != 4 || !Require(uint64_t{count} * 4)) return;
  out.resize(count);
  if (count > 0) ReadRaw(out.data(), size_t{count} * 4);
}
