#include "platform/gfx/mesh/reader_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/gfx/mesh/fd_io.h"
#include "platform/sys/file_paths.h"

extern char** environ;

namespace gfx::xfile {

namespace {

constexpr const char* kReaderName = "scene_x_reader";

std::nullopt_t Fail(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return std::nullopt;
}

using Clock = std::chrono::steady_clock;

// The descriptor moved above the standard ones, so that placing the child's standard
// descriptors cannot overwrite it even when this process runs with some of them closed.
UniqueFd AboveStandard(int fd) {
  UniqueFd original(fd);
  if (!original || fd > STDERR_FILENO) return original;
  return UniqueFd(fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
}

// The input as a file the child reads from its start.
UniqueFd InputFile(std::span<const uint8_t> input) {
  UniqueFd file = AboveStandard(memfd_create("x-reader-input", MFD_CLOEXEC));
  if (!file || !WriteAll(file.Get(), input) || lseek(file.Get(), 0, SEEK_SET) != 0)
    return UniqueFd();
  return file;
}

enum class Reply { kComplete, kTooLong, kTooMuch, kBroken };

int MillisecondsUntil(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : left > INT32_MAX ? INT32_MAX : int(left);
}

// Everything written into the pipe until its writer closes it, within the limits.
Reply ReadReply(int fd, Clock::time_point deadline, size_t limit, std::vector<uint8_t>* reply) {
  uint8_t buffer[65536];
  for (;;) {
    const int left = MillisecondsUntil(deadline);
    if (left == 0) return Reply::kTooLong;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, left);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return Reply::kBroken;
    if (ready == 0) return Reply::kTooLong;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Reply::kBroken;
    if (n == 0) return Reply::kComplete;
    if (reply->size() + size_t(n) > limit) return Reply::kTooMuch;
    reply->insert(reply->end(), buffer, buffer + n);
  }
}

// The child's descriptors: the input file as 0, the pipe as 1, nothing as 2, no others.
// Its signal mask is empty and every signal has its default action, whatever this process
// (a player with audio and GL threads, or a fuzzer with its crash handlers) has set.
class SpawnSetup {
 public:
  SpawnSetup(int input, int reply) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attributes_);
    ok_ =
        posix_spawn_file_actions_adddup2(&actions_, input, STDIN_FILENO) == 0 &&
        posix_spawn_file_actions_adddup2(&actions_, reply, STDOUT_FILENO) == 0 &&
        posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY, 0) == 0 &&
        posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1) == 0;
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    ok_ =
        ok_ && posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
        posix_spawnattr_setsigdefault(&attributes_, &all) == 0 &&
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  // The child's id, or the error number.
  int Spawn(const std::filesystem::path& program, pid_t* child) const {
    if (!ok_) return EINVAL;
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};
    return posix_spawn(child, path.c_str(), &actions_, &attributes_, argv, environ);
  }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
  bool ok_ = false;
};

// The child's exit status once it has ended, or nothing when it is still running at the
// deadline; it is killed then. Either way it is reaped.
std::optional<int> Reap(pid_t child, Clock::time_point deadline) {
  int status = 0;
  auto pause = std::chrono::microseconds(100);
  for (;;) {
    const pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) return status;
    if (done < 0 && errno != EINTR) return std::nullopt;
    if (Clock::now() >= deadline) break;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(10000));
  }
  kill(child, SIGKILL);
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return std::nullopt;
}

}  // namespace

std::filesystem::path ReaderProgram() {
  std::vector<std::filesystem::path> places;
  if (const auto here = sys::ProgramDirectory(); !here.empty())
    places.push_back(here / kReaderName);
#ifdef SCENE_X_READER_BUILD_PATH
  places.emplace_back(SCENE_X_READER_BUILD_PATH);
#endif
  for (const auto& place : places)
    if (access(place.c_str(), X_OK) == 0) return place;
  return {};
}

std::optional<std::vector<uint8_t>> RunReader(const std::filesystem::path& program,
                                              std::span<const uint8_t> input,
                                              const ReaderLimits& limits, std::string* error) {
  const UniqueFd inputFile = InputFile(input);
  if (!inputFile) return Fail(error, "cannot hand the data to the .x reader");
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return Fail(error, "cannot make a pipe");
  const UniqueFd replyRead = AboveStandard(fds[0]);
  UniqueFd replyWrite = AboveStandard(fds[1]);
  if (!replyRead || !replyWrite) return Fail(error, "cannot make a pipe");

  const auto deadline = Clock::now() + limits.time;
  pid_t child = -1;
  const int spawned = SpawnSetup(inputFile.Get(), replyWrite.Get()).Spawn(program, &child);
  replyWrite.Reset();
  if (spawned != 0)
    return Fail(error,
                "cannot start the .x reader " + program.string() + ": " + std::strerror(spawned));

  std::vector<uint8_t> reply;
  const Reply outcome = ReadReply(replyRead.Get(), deadline, limits.replyBytes, &reply);
  // A reply cut short ends the child now; a complete one leaves it the time that is left.
  const auto status = Reap(child, outcome == Reply::kComplete ? deadline : Clock::now());
  switch (outcome) {
    case Reply::kTooLong:
      return Fail(error, "the .x reader took too long");
    case Reply::kTooMuch:
      return Fail(error, "the .x reader sent too much");
    case Reply::kBroken:
      return Fail(error, "cannot read the .x reader's reply");
    case Reply::kComplete:
      break;
  }
  if (!status) return Fail(error, "the .x reader took too long");
  if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
    return Fail(error, "the .x reader failed on damaged data");
  return reply;
}

}  // namespace gfx::xfile
