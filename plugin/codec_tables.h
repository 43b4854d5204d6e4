#pragma once

#include <array>
#include <string_view>

namespace unreal {

// Codec names; the position is the codec's index everywhere (0 = ue3, 1 = ue4, 2 = ue5).
inline constexpr std::array<const char16_t*, 3> kCodecNames = {u"ue3", u"ue4", u"ue5"};
enum CodecIndex { kUe3 = 0, kUe4 = 1, kUe5 = 2 };

// The compression methods a ue4 method string may start with.
inline constexpr std::array<std::u16string_view, 9> kUe4MethodNames = {
    u"zlib", u"lz4", u"lz4hc", u"lzna", u"kraken", u"mermaid", u"selkie", u"hydra", u"leviathan"};

// ASCII case-insensitive comparison; the names compared are all ASCII.
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace unreal
