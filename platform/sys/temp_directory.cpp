#include "platform/sys/temp_directory.h"

#include <stdlib.h>

#include <fstream>
#include <string>
#include <system_error>

#include "core/zkw_string.h"
#include "platform/sys/file_paths.h"

namespace sys {
namespace {

// In UTF-8 bytes: file names are limited in bytes (255 on Linux), and the unique prefix comes on
// top.
constexpr size_t kMaxNameBytes = 120;

bool IsForbidden(char16_t u) {
  return u < 0x20 || u == 0x7F ||
         std::u16string_view(u"\\/:*?\"<>|").find(u) != std::u16string_view::npos;
}

}  // namespace

std::string SanitizeFileName(std::u16string_view name) {
  zkw_string clean(name);
  for (char16_t& u : clean)
    if (IsForbidden(u)) u = u'_';
  std::string out = ToUtf8(clean);
  if (out.size() > kMaxNameBytes) {
    // Keep the extension, which tells the decoders the file's kind, and whole characters.
    const size_t dot = out.find_last_of('.');
    const std::string ext =
        dot != std::string::npos && out.size() - dot <= 16 ? out.substr(dot) : "";
    size_t keep = kMaxNameBytes - ext.size();
    while (keep > 0 && (uint8_t(out[keep]) & 0xC0) == 0x80)
      --keep;
    out = out.substr(0, keep) + ext;
  }
  if (out.find_first_not_of('.') == std::string::npos) out = "file";
  return out;
}

TempDirectory& TempDirectory::Player() {
  static TempDirectory dir;
  return dir;
}

TempDirectory::TempDirectory(std::filesystem::path parent) : parent_(std::move(parent)) {}

TempDirectory::~TempDirectory() {
  Clear();
}

void TempDirectory::Clear() {
  std::error_code ec;
  for (const auto& file : owned_)
    std::filesystem::remove(file, ec);
  owned_.clear();
  // Only an empty directory goes: anything someone else put there stays.
  if (!dir_.empty()) std::filesystem::remove(dir_, ec);
  dir_.clear();
}

const std::filesystem::path& TempDirectory::Directory() {
  if (!dir_.empty()) return dir_;
  std::error_code ec;
  std::filesystem::path parent =
      parent_.empty() ? std::filesystem::temp_directory_path(ec) : parent_;
  if (ec || parent.empty()) parent = "/tmp";
  std::string pattern = (parent / "vornview-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
  return dir_;
}

std::filesystem::path TempDirectory::NewName(std::u16string_view storedPath) {
  const std::filesystem::path& dir = Directory();
  if (dir.empty()) return {};
  const std::string name = SanitizeFileName(FileNamePart(storedPath));
  std::error_code ec;
  for (;;) {
    std::filesystem::path candidate =
        dir / std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(
                  (std::to_string(++counter_) + "-" + name).c_str())));
    if (!std::filesystem::exists(candidate, ec)) return candidate;
  }
}

TempFile TempDirectory::Write(std::u16string_view storedPath, std::span<const uint8_t> bytes) {
  TempFile out{NewName(storedPath), false};
  if (out.path.empty()) return out;
  std::ofstream file(out.path, std::ios::binary | std::ios::trunc);
  if (!file) return out;
  owned_.insert(out.path);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  out.written = !file.fail();
  return out;
}

TempFile TempDirectory::Copy(const std::filesystem::path& source, std::u16string_view storedPath) {
  TempFile out{NewName(storedPath), false};
  if (out.path.empty()) return out;
  std::error_code ec;
  out.written = std::filesystem::copy_file(source, out.path, ec) && !ec;
  if (std::filesystem::exists(out.path, ec)) owned_.insert(out.path);
  return out;
}

bool TempDirectory::Remove(const std::filesystem::path& file) {
  auto it = owned_.find(file);
  if (it == owned_.end()) return false;
  std::error_code ec;
  const bool removed = std::filesystem::remove(file, ec);
  owned_.erase(it);
  return removed;
}

}  // namespace sys
