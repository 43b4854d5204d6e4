// The player as a process, on a display of its own (Xvfb): a project it refuses shows the message
// box, whose event loop hears no quit request, and a script or a session manager must still be
// able to end it: SIGTERM and SIGINT end the player at once, with the exit code of a refused
// project.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "player/shell/player_window.h"

extern char** environ;

namespace scene_test {
namespace {

using Clock = std::chrono::steady_clock;

// The path of a program found on PATH; empty when there is none.
std::string FindProgram(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path != nullptr ? path : "/usr/bin:/bin";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::filesystem::path candidate = std::filesystem::path(rest.substr(0, colon)) / name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
  }
  return "";
}

// A child process and the read end of a pipe on one of its descriptors. A child still running
// when the object goes is killed and reaped.
class Child {
 public:
  // Starts argv[0] with the environment `env`; the child's descriptor `piped` writes into the
  // pipe, its stdout and other stderr go nowhere.
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& env, int piped) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return;
    read_ = ends[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], piped);
    std::vector<char*> args;
    for (const std::string& a : argv)
      args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> vars;
    for (const std::string& v : env)
      vars.push_back(const_cast<char*>(v.c_str()));
    vars.push_back(nullptr);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), vars.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (read_ >= 0) close(read_);
  }

  bool Started() const { return pid_ > 0; }
  void Signal(int signal) const { kill(pid_, signal); }

  // Reads the pipe until what came holds `text`; false when the limit passes or the pipe ends
  // first.
  bool WaitForOutput(std::string_view text, std::chrono::seconds limit) {
    const auto end = Clock::now() + limit;
    while (output_.find(text) == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
      if (left.count() <= 0) return false;
      pollfd ready{read_, POLLIN, 0};
      if (poll(&ready, 1, int(left.count())) <= 0) continue;
      char buffer[512];
      const ssize_t n = read(read_, buffer, sizeof buffer);
      if (n <= 0) return false;
      output_.append(buffer, size_t(n));
    }
    return true;
  }
  const std::string& Output() const { return output_; }

  // The wait status once the child has ended, waiting at most `limit`; nullopt while it runs.
  std::optional<int> WaitForEnd(std::chrono::seconds limit) {
    const auto end = Clock::now() + limit;
    while (!status_) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
      } else if (Clock::now() >= end) {
        break;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    return status_;
  }

 private:
  int read_ = -1;
  pid_t pid_ = -1;
  std::string output_;
  std::optional<int> status_;
};

// This process's environment without the variables that pick a display, then `extra`.
std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** v = environ; *v != nullptr; ++v) {
    const std::string_view entry(*v);
    if (entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=") ||
        entry.starts_with("SDL_VIDEODRIVER=") || entry.starts_with("SDL_AUDIODRIVER=")) {
      continue;
    }
    env.emplace_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

// Generous bounds for a loaded machine and a sanitizer build; they only keep a broken player
// from hanging the test.
constexpr std::chrono::seconds kStartLimit{120};
constexpr std::chrono::seconds kEndLimit{10};

TEST(RefusedProject, ASignalEndsThePlayerWhileTheMessageBoxIsOpen) {
  const std::string xvfb = FindProgram("Xvfb");
  if (xvfb.empty()) GTEST_SKIP() << "no Xvfb (package xvfb) to show the message box on";
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("refused_project_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path project = folder / "refused.scene";
  std::ofstream(project, std::ios::binary) << "no project at all";

  // The server chooses a free display and writes its number when it takes connections.
  Child server({xvfb, "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "320x240x24"},
               Environment({}), 3);
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(server.WaitForOutput("\n", kStartLimit)) << "Xvfb did not start";
  const std::string display = ":" + server.Output().substr(0, server.Output().find('\n'));

  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(strsignal(signal));
    Child player({SCENE_PLAYER_PATH, project.string()},
                 Environment({"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy", "LP_NUM_THREADS=0"}),
                 STDERR_FILENO);
    ASSERT_TRUE(player.Started());
    // The refusal reaches stderr just before the box opens.
    ASSERT_TRUE(player.WaitForOutput(kOpenErrorText, kStartLimit)) << player.Output();
    player.Signal(signal);
    const std::optional<int> status = player.WaitForEnd(kEndLimit);
    ASSERT_TRUE(status.has_value()) << "the player still waits for a click";
    EXPECT_TRUE(WIFEXITED(*status)) << "status " << *status;
    EXPECT_EQ(WEXITSTATUS(*status), 1);
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace scene_test
