#include "player/shell/error_report.h"

#include <cstdio>
#include <new>

#include "player/shell/player_window.h"

void ReportError(std::string_view line) {
  std::fprintf(stderr, "%s: %.*s\n", kOpenErrorCaption, int(line.size()), line.data());
  std::fflush(stderr);
}

std::string DescribeException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return "out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an unknown exception";
  }
}
