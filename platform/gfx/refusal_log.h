#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/gfx/hresult.h"

// Why the device refused a call. A refused call only answers a failure code, which callers of
// state setters and draws rarely test; debug builds therefore log on stderr, once per call site,
// which call was refused, where it was made and why. Release builds log nothing and pass no
// call site.
namespace gfx {

#ifdef NDEBUG
inline constexpr bool kLogsRefusals = false;
// Nothing in release builds.
struct CallSite {
  static constexpr CallSite current() noexcept { return {}; }
};
#else
inline constexpr bool kLogsRefusals = true;
// The caller's place in the source, taken by each call's last, defaulted parameter: the
// builtins in the defaults are evaluated where the call is written.
struct CallSite {
  static constexpr CallSite current(const char* file = __builtin_FILE(),
                                    uint32_t line = __builtin_LINE(),
#if __has_builtin(__builtin_COLUMN)
                                    uint32_t column = __builtin_COLUMN()) noexcept {
#else
                                    uint32_t column = 0) noexcept {  // g++ 12 has no column
#endif
    return {file, line, column};
  }
  const char* file = "";
  uint32_t line = 0;
  uint32_t column = 0;
};
#endif

// Where refusal lines go; empty restores stderr. Answers the sink it replaces.
using RefusalSink = std::function<void(const std::string& line)>;
RefusalSink SetRefusalSink(RefusalSink sink);

// Refusals since the process started, in every build: a caller that must refuse nothing (a
// whole scene played through) compares it before and after.
uint64_t RefusalCount();

namespace refusal_detail {
void Count();
// True the first time a refusal is met at `site`.
bool FirstAt(const CallSite& site);
void Log(const CallSite& site, std::string_view call, std::string_view reason);
}  // namespace refusal_detail

// Answers `result`; logs the refusal of `call` made at `site` the first time that site is
// refused. `reason` is a text, or a function that makes one (called only when it is logged).
template <class Reason>
HResult Refuse(HResult result, const CallSite& site, std::string_view call, Reason&& reason) {
  refusal_detail::Count();
  if constexpr (kLogsRefusals) {
    if (refusal_detail::FirstAt(site)) {
      if constexpr (std::is_invocable_v<Reason>) {
        refusal_detail::Log(site, call, reason());
      } else {
        refusal_detail::Log(site, call, reason);
      }
    }
  } else {
    (void)site, (void)call, (void)reason;
  }
  return result;
}

}  // namespace gfx
