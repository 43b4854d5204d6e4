#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <span>
#include <string_view>

namespace sys {

// A file placed in the temporary directory: where it is, and whether writing it succeeded.
struct TempFile {
  std::filesystem::path path;
  bool written = false;
};

// The player's private temporary directory. It is made on first use, holds the copies of audio
// files that projects carry, and goes away with the files it wrote when the object is destroyed.
// Every copy gets a unique name made from the stored file name, so a stored path can never point
// outside the directory and two copies never share a file. Only files written here are deleted.
class TempDirectory {
 public:
  // The process-wide directory, removed at exit.
  static TempDirectory& Player();

  // A private directory below `parent` (the system's temporary folder when empty).
  explicit TempDirectory(std::filesystem::path parent = {});
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  // The directory, made now when it does not exist yet; empty when it cannot be made.
  const std::filesystem::path& Directory();

  // Writes the bytes to a new file named after the stored path's file name. The path is
  // answered also when writing failed, so that a caller can keep pointing at it.
  TempFile Write(std::u16string_view storedPath, std::span<const uint8_t> bytes);
  // Copies a file the same way.
  TempFile Copy(const std::filesystem::path& source, std::u16string_view storedPath);

  // Deletes a file that this directory wrote; anything else is left alone and answers false.
  bool Remove(const std::filesystem::path& file);
  bool Owns(const std::filesystem::path& file) const { return owned_.count(file) != 0; }
  // Deletes every file written here and the directory, when nothing else is left in it; a later
  // use makes a new one. For when no copy is in use any more.
  void Clear();

 private:
  std::filesystem::path NewName(std::u16string_view storedPath);

  std::filesystem::path parent_;
  std::filesystem::path dir_;
  std::set<std::filesystem::path> owned_;
  uint64_t counter_ = 0;
};

// A file name that stays a plain name in one folder: separators, control characters and the
// characters that Windows forbids become '_', a long name is cut to 120 UTF-8 bytes between
// characters (keeping a short extension), and a name of dots only or no name becomes "file".
std::string SanitizeFileName(std::u16string_view name);

}  // namespace sys
