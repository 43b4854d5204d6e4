#pragma once

#include <exception>
#include <string>

#include "core/zkw_string.h"

// The exception raised while a project is opened; it carries a message text.
class DS_Error : public std::exception {
 public:
  explicit DS_Error(zkw_string message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

  const zkw_string& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  zkw_string message_;
  std::string utf8_;
};
