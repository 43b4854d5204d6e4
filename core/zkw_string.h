#pragma once

#include <string>
#include <string_view>

// The text type of every stored name and text: UTF-16 code units, as projects store them.
using zkw_string = std::u16string;

// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16. Malformed sequences become U+FFFD, one per bad byte.
zkw_string FromUtf8(std::string_view text);

// UTF-8 to UTF-16 for names given in code; characters beyond the basic plane become surrogate
// pairs. Invalid UTF-8 raises std::range_error. A null text gives an empty string.
zkw_string Utf8ToWString(const char* text);

// Platform wide text (UTF-32 on Linux) to UTF-16. Units that are no character become U+FFFD.
zkw_string FromWide(std::wstring_view text);
