#include "platform/sys/command_line.h"

namespace sys {

CommandLine::CommandLine(int argc, const char* const* argv) {
  for (int i = 0; i < argc && argv != nullptr; ++i)
    if (argv[i] != nullptr) args_.emplace_back(argv[i]);
}

std::optional<std::string> CommandLine::FirstArgument() const {
  if (args_.size() < 2) return std::nullopt;
  return args_[1];
}

}  // namespace sys
