// .x loading in a child process: assimp's .x reader is not safe against damaged data, so it
// runs in a forked copy of the player, which sends the flattened mesh back through a pipe.
// A crash, a hang (cut off after kTimeLimit) or a mesh that does not check out is a failure.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/gfx/mesh/mesh.h"
#include "platform/gfx/mesh/x_scene.h"
#include "platform/sys/file_paths.h"

namespace gfx {

namespace {

constexpr auto kTimeLimit = std::chrono::seconds(8);
constexpr size_t kMaxReply = size_t(1) << 30;
// A reply that is not a mesh: this tag, then the reason.
constexpr char kFailTag[4] = {'F', 'A', 'I', 'L'};

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n, size -= size_t(n);
  }
  return true;
}

[[noreturn]] void RunChild(std::span<const uint8_t> data, int fd) {
  // Nothing of the child reaches the player's output, not even a crash report.
  if (const int null = open("/dev/null", O_WRONLY); null >= 0) dup2(null, STDERR_FILENO);
  Mesh mesh;
  std::string error;
  std::vector<uint8_t> reply;
  if (xfile::ImportFlattened(data, &mesh, &error)) {
    reply = xfile::EncodeMesh(mesh);
  } else {
    reply.assign(kFailTag, kFailTag + 4);
    reply.insert(reply.end(), error.begin(), error.end());
  }
  _exit(WriteAll(fd, reply.data(), reply.size()) ? 0 : 1);
}

// Everything the child writes until it closes the pipe; false when the time runs out or the
// reply grows past kMaxReply.
bool ReadReply(int fd, std::vector<uint8_t>* reply) {
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  uint8_t buffer[65536];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, int(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (reply->size() + size_t(n) > kMaxReply) return false;
    reply->insert(reply->end(), buffer, buffer + n);
  }
}

HResult Fail(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return kFail;
}

}  // namespace

HResult LoadMeshFromXInMemory(std::span<const uint8_t> data, Mesh* out, std::string* error) {
  if (!out) return kInvalidCall;
  *out = {};
  if (data.size() < 16 || std::memcmp(data.data(), "xof ", 4) != 0)
    return Fail(error, "not .x data");

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return Fail(error, "cannot make a pipe");
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]), close(fds[1]);
    return Fail(error, "cannot start the reader");
  }
  if (child == 0) {
    close(fds[0]);
    RunChild(data, fds[1]);
  }
  close(fds[1]);
  std::vector<uint8_t> reply;
  const bool complete = ReadReply(fds[0], &reply);
  close(fds[0]);
  if (!complete) kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!complete) return Fail(error, "the .x reader took too long or sent too much");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return Fail(error, "the .x reader failed on damaged data");
  if (reply.size() >= 4 && std::memcmp(reply.data(), kFailTag, 4) == 0)
    return Fail(error, std::string(reply.begin() + 4, reply.end()));
  if (!xfile::DecodeMesh(reply, out)) return Fail(error, "the .x reader sent a damaged mesh");
  return kOk;
}

HResult LoadMeshFromXFile(const std::filesystem::path& path, Mesh* out, std::string* error) {
  if (!out) return kInvalidCall;
  *out = {};
  const auto bytes = sys::ReadWholeFile(path);
  if (!bytes) return Fail(error, "cannot read " + path.string());
  return LoadMeshFromXInMemory(*bytes, out, error);
}

}  // namespace gfx
