#include "core/picture/shared_bytes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/text_helpers.h"

bool SharedBytes::Allocate(uint64_t count) {
  if (count > kMaxBytes) return false;
  block_ = std::make_shared<uint8_t[]>(count);
  count_ = static_cast<uint32_t>(count);
  return true;
}

SharedBytes SharedBytes::CopyOf(std::span<const uint8_t> bytes) {
  SharedBytes copy;
  if (copy.Allocate(bytes.size())) std::copy(bytes.begin(), bytes.end(), copy.Data());
  return copy;
}

bool SharedBytes::ReadFile(const zkw_string& path) {
  const std::filesystem::path file = ToFsPath(path);
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(file, ec)) return false;
  const uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size > kMaxBytes) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  SharedBytes read;
  read.Allocate(size);
  in.read(reinterpret_cast<char*>(read.Data()), static_cast<std::streamsize>(size));
  if (static_cast<uintmax_t>(in.gcount()) != size) return false;
  *this = std::move(read);
  return true;
}
