#include "platform/sys/local_time.h"

#include <ctime>
#include <utility>

namespace sys {

namespace {

LocalTimeSource& Source() {
  static LocalTimeSource source;
  return source;
}

}  // namespace

std::optional<LocalTimeOfDay> SystemLocalTime() {
  const std::time_t now = std::time(nullptr);
  if (now == static_cast<std::time_t>(-1)) return std::nullopt;
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return std::nullopt;
  return LocalTimeOfDay{local.tm_hour, local.tm_min, local.tm_sec};
}

std::optional<LocalTimeOfDay> CurrentLocalTime() {
  const LocalTimeSource& source = Source();
  return source ? source() : SystemLocalTime();
}

void SetLocalTimeSource(LocalTimeSource source) {
  Source() = std::move(source);
}

}  // namespace sys
