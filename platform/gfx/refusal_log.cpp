#include "platform/gfx/refusal_log.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <tuple>

namespace gfx {
namespace {

struct RefusalLog {
  std::mutex mutex;
  RefusalSink sink;
#ifndef NDEBUG
  // Call sites already logged: file, line and column.
  std::set<std::tuple<std::string_view, uint32_t, uint32_t>> seen;
#endif
};

std::atomic<uint64_t> refusals{0};

RefusalLog& TheLog() {
  static RefusalLog log;
  return log;
}

}  // namespace

RefusalSink SetRefusalSink(RefusalSink sink) {
  std::lock_guard lock(TheLog().mutex);
  std::swap(TheLog().sink, sink);
  return sink;
}

uint64_t RefusalCount() {
  return refusals.load(std::memory_order_relaxed);
}

namespace refusal_detail {

void Count() {
  refusals.fetch_add(1, std::memory_order_relaxed);
}

#ifdef NDEBUG
bool FirstAt(const CallSite&) {
  return false;
}
void Log(const CallSite&, std::string_view, std::string_view) {}
#else
bool FirstAt(const CallSite& site) {
  std::lock_guard lock(TheLog().mutex);
  return TheLog().seen.emplace(site.file, site.line, site.column).second;
}

void Log(const CallSite& site, std::string_view call, std::string_view reason) {
  const std::string line = "gfx: " + std::string(call) + " refused at " + site.file + ":" +
                           std::to_string(site.line) + ": " + std::string(reason);
  RefusalSink sink;
  {
    std::lock_guard lock(TheLog().mutex);
    sink = TheLog().sink;
  }
  if (sink) {
    sink(line);
  } else {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}
#endif

}  // namespace refusal_detail
}  // namespace gfx
