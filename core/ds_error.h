#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "core/zkw_string.h"

// What kind of refusal a DS_Error reports.
enum class DS_ErrorCode : uint32_t {
  // The file or resource cannot be opened (the platform's code for it).
  CannotOpenFile = 0x8200000B,
  // A file of a format the player does not read (a ".vqe" file).
  FormatNotSupported = 1,
  // A project whose signature is not the current one.
  OutdatedFormat = 2,
  // A project whose records cannot be read to their end: truncated, or naming a class that no
  // registry holds.
  DamagedFile = 3,
};

// The one exception raised while a project is opened. It carries a code, the message text the
// system defines for it (empty when none is defined), and for the log the file or resource it
// concerns and what exactly was wrong.
class DS_Error : public std::exception {
 public:
  DS_Error(DS_ErrorCode code, zkw_string message, std::string reason = {}, std::string source = {});

  DS_ErrorCode Code() const { return code_; }
  const zkw_string& Message() const { return message_; }
  // What was wrong, in words for a log ("the data ends at byte 12, ..."); may be empty.
  const std::string& Reason() const { return reason_; }
  // The file or resource read (UTF-8, a path in quotes); may be empty.
  const std::string& Source() const { return source_; }
  // Names the source again, for a caller that knows it better.
  void SetSource(std::string source);

  // One line for a log: the source, the message and the reason.
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  void Describe();

  DS_ErrorCode code_;
  zkw_string message_;
  std::string reason_;
  std::string source_;
  std::string description_;
};
