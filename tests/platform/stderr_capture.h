#pragma once

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

// Sends what the process writes to stderr (its file descriptor 2, so SDL's and C's output too)
// to a temporary file while it lives; Take() ends the capture and answers the text.
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    char name[] = "/tmp/stderr_capture_XXXXXX";
    const int file = mkstemp(name);
    if (file < 0) return;
    path_ = name;
    saved_ = dup(STDERR_FILENO);
    dup2(file, STDERR_FILENO);
    close(file);
  }
  ~StderrCapture() { Take(); }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  std::string Take() {
    if (saved_ >= 0) {
      std::fflush(stderr);
      dup2(saved_, STDERR_FILENO);
      close(saved_);
      saved_ = -1;
      std::ifstream in(path_);
      std::stringstream text;
      text << in.rdbuf();
      text_ = text.str();
      unlink(path_.c_str());
    }
    return text_;
  }

 private:
  std::string path_;
  std::string text_;
  int saved_ = -1;
};
