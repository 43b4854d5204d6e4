// The .x loader's side of its reader program, driven with system programs in the reader's place:
// whatever the program does (missing, failing, hanging, flooding, echoing), the loader answers a
// clean result in bounded time, and the program sees no descriptor of the loader but its own.
#include "platform/gfx/mesh/reader_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace gfx::xfile {
namespace {

using namespace std::chrono_literals;

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(ReaderProcess, TheBuiltReaderIsFound) {
  const std::filesystem::path program = ReaderProgram();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.filename(), "scene_x_reader");
}

TEST(ReaderProcess, EveryMisbehaviourIsACleanFailure) {
  struct Case {
    const char* what;
    std::filesystem::path program;
    std::string input;
    ReaderLimits limits;
    std::string error;
  };
  const ReaderLimits quick{.time = 500ms, .replyBytes = 1 << 16};
  const Case cases[] = {
      {"missing", "/nonexistent/scene_x_reader", "", {}, "cannot start the .x reader"},
      {"exits with 1", "/bin/false", "", {}, "the .x reader failed on damaged data"},
      {"killed", "/bin/sh", "kill -SEGV $$\n", {}, "the .x reader failed on damaged data"},
      {"hangs", "/bin/sh", "exec sleep 30\n", quick, "the .x reader took too long"},
      {"closes its output and hangs", "/bin/sh", "exec >&- sleep 30\n", quick,
       "the .x reader took too long"},
      {"floods", "/usr/bin/yes", "", quick, "the .x reader sent too much"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunReader(c.program, Bytes(c.input), c.limits, &error));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(error.substr(0, c.error.size()), c.error);
  }
}

TEST(ReaderProcess, ReplyLargerThanAPipeComesBackWhole) {
  // cat answers with its input: an encoded mesh of several megabytes.
  Mesh mesh;
  for (uint32_t i = 0; i < 100000; ++i) {
    mesh.vertices.push_back({{float(i), 1, 2}, {0, 0, 1}, {0.5f, float(i % 7)}});
    mesh.indices.insert(mesh.indices.end(), {i, (i + 1) % 100000, (i + 2) % 100000});
    mesh.attributes.push_back(i % 3);
  }
  const std::vector<uint8_t> encoded = EncodeMesh(mesh);
  std::string error;
  const auto reply = RunReader("/bin/cat", encoded, {}, &error);
  ASSERT_TRUE(reply) << error;
  Mesh decoded;
  ASSERT_TRUE(DecodeMesh(*reply, &decoded));
  EXPECT_EQ(decoded.indices, mesh.indices);
  EXPECT_EQ(decoded.attributes, mesh.attributes);
  EXPECT_EQ(decoded.vertices.back().position.x, 99999.0f);
}

TEST(ReaderProcess, TheReaderInheritsNoDescriptor) {
  // A descriptor without close-on-exec, as libraries of the player may open them.
  const int leaked = dup2(STDERR_FILENO, 200);
  ASSERT_EQ(leaked, 200);
  ASSERT_EQ(fcntl(leaked, F_GETFD) & FD_CLOEXEC, 0);
  std::string error;
  const auto reply = RunReader("/bin/sh",
                               Bytes("for fd in 0 1 2 200; do [ -e /proc/self/fd/$fd ] && "
                                     "printf '%s ' $fd; done; exit 0\n"),
                               {}, &error);
  close(leaked);
  ASSERT_TRUE(reply) << error;
  EXPECT_EQ(std::string(reply->begin(), reply->end()), "0 1 2 ");
}

}  // namespace
}  // namespace gfx::xfile
