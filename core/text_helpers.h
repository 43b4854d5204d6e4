#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/zkw_string.h"

// printf-style formatting into `out` with the platform's wide printf (glibc conventions: %ls
// takes a wide string, %s a narrow one). `out` is emptied first; a null format, a format the
// printf rejects or an empty result leave it empty. Any length fits. Never fails.
void FormatWString(zkw_string& out, const wchar_t* format, ...);

// The path's extension: the text from its last '.' to the end, dot included, with A to Z
// lowered; empty when the path holds no '.'. The search does not stop at folder separators, so a
// dot in a folder name counts when the file name has none.
zkw_string GetLowerExtension(const zkw_string& path);

// A stored path (UTF-16, often written on Windows) as a path of this system: UTF-8, with
// backslashes as folder separators.
std::filesystem::path ToFsPath(std::u16string_view stored);

// Text read from a file, made safe for a log line: UTF-8 in double quotes, with control
// characters, quotes and backslashes escaped, cut after `maxUnits` units with "...".
std::string QuoteForLog(std::u16string_view text, size_t maxUnits = 64);
