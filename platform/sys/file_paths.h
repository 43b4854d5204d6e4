#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "core/zkw_string.h"

namespace sys {

// A stored path (UTF-16, often written on Windows) as a path of this system: UTF-8, with
// backslashes as folder separators.
std::filesystem::path ToPath(std::u16string_view stored);

// The part of a stored path after its last folder separator ('\\' or '/').
std::u16string_view FileNamePart(std::u16string_view stored);

// Whether a file or folder exists at the path; never throws.
bool PathExists(const std::filesystem::path& path);

// The whole file; nothing when it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// The folder of the running program.
std::filesystem::path ProgramDirectory();

}  // namespace sys
