#include "core/ds_error.h"

DS_Error::DS_Error(DS_ErrorCode code, zkw_string message, std::string reason, std::string source)
    : code_(code),
      message_(std::move(message)),
      reason_(std::move(reason)),
      source_(std::move(source)) {
  Describe();
}

void DS_Error::SetSource(std::string source) {
  source_ = std::move(source);
  Describe();
}

void DS_Error::Describe() {
  std::string message = ToUtf8(message_);
  // Messages may hold line breaks; a log line keeps them as spaces.
  for (char& c : message)
    if (c == '\n' || c == '\r') c = ' ';
  description_ = source_;
  auto add = [this](const std::string& part, const char* separator) {
    if (part.empty()) return;
    if (!description_.empty()) description_ += separator;
    description_ += part;
  };
  add(message, ": ");
  if (!message.empty() && !reason_.empty()) {
    description_ += " (" + reason_ + ")";
  } else {
    add(reason_, ": ");
  }
}
