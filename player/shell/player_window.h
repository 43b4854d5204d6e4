#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/app/window.h"

// The player's outermost layer: the entry, its one window, the one error message, the message
// loop and the window procedure.

// The message shown, whatever went wrong, when a project cannot be opened.
inline constexpr char kOpenErrorCaption[] = "Vornview";
inline constexpr char kOpenErrorText[] = "Cannot open file: Wrong file format.";

// The entry: the first argument after the program name is the project file. 0 after the loop
// ends normally; 1 when the window or the player cannot be set up or anything escapes.
int RunPlayer(int argc, const char* const* argv);

// The window's size from the texts of string-table entries 7 and 8, 460 x 215 when either is
// missing or not positive, fitted to `area` keeping its aspect.
app::WindowSize PlayerWindowSize(std::u16string_view width, std::u16string_view height,
                                 app::WindowSize area);

// Makes the window (hidden; titled by string-table entry 6) and starts the player on it.
[[nodiscard]] bool CreatePlayerWindow(const std::optional<std::filesystem::path>& projectPath);
// Starts the player on the window, which becomes the player window; any exception shows the
// error message and answers false. Stderr gets the message too, with the file and the reason.
// While the message shows, SIGTERM and SIGINT end the process with exit code 1.
bool InitPlayer(app::Window* window, const std::optional<std::filesystem::path>& projectPath);
// The player's window procedure.
intptr_t PlayerWndProc(app::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The window that InitPlayer was given; null before.
app::Window* PlayerWindow();

// Shows the error message; tests put a recorder in its place. Null restores the message box.
using ErrorBox = std::function<void(const std::string& caption, const std::string& text)>;
void SetErrorBox(ErrorBox box);

// The leading decimal integer of a text, as the C library's atoi reads it: leading white space,
// an optional sign, digits; 0 when there are none; saturated to the int range.
int ParseLeadingInt(std::u16string_view text);
