#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/mesh/x_reply.h"

// Running the .x reader program.
namespace gfx::xfile {

struct ReaderLimits {
  std::chrono::milliseconds time = kReaderTimeLimit;
  size_t replyBytes = kMaxReply;
};

// The reader program: the one next to the running program, else the one the build made; empty
// when neither is there.
std::filesystem::path ReaderProgram();

// Starts `program` with `input` as its standard input, its error output going nowhere and no
// other open descriptor of this process, and collects what it writes to its standard output
// until it closes it. Nothing, with the reason in `error`, when it cannot be started, runs past
// the time limit or writes more than the reply limit (it is killed then), or does not exit with
// status 0. The program is always reaped before this returns.
std::optional<std::vector<uint8_t>> RunReader(const std::filesystem::path& program,
                                              std::span<const uint8_t> input,
                                              const ReaderLimits& limits, std::string* error);

}  // namespace gfx::xfile
