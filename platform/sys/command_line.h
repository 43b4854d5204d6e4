#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sys {

// The program's arguments as UTF-8 texts, the program name first.
class CommandLine {
 public:
  CommandLine(int argc, const char* const* argv);

  const std::vector<std::string>& Arguments() const { return args_; }
  // The first argument after the program name, when there is one; later ones are ignored.
  std::optional<std::string> FirstArgument() const;

 private:
  std::vector<std::string> args_;
};

}  // namespace sys
