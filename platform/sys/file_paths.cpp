#include "platform/sys/file_paths.h"

#include <fstream>
#include <system_error>

#include "core/text_helpers.h"

namespace sys {

std::filesystem::path ToPath(std::u16string_view stored) {
  return ToFsPath(stored);
}

std::u16string_view FileNamePart(std::u16string_view stored) {
  const size_t slash = stored.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? stored : stored.substr(slash + 1);
}

bool PathExists(const std::filesystem::path& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return std::nullopt;
  in.seekg(0, std::ios::beg);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (in.gcount() != size) return std::nullopt;
  return bytes;
}

std::filesystem::path ProgramDirectory() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe.parent_path();
}

}  // namespace sys
