#pragma once

#include <exception>
#include <string>
#include <string_view>

// Errors that end or refuse the player reach the user on stderr as well as in what the Parts
// show: one line each, after the program's name, also when no message box can be shown (no
// desktop).
void ReportError(std::string_view line);

// What an exception says, for ReportError: a DS_Error's source, message and reason; another
// exception's what().
std::string DescribeException(std::exception_ptr error);
