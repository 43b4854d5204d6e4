// The scene player: plays the project file named by its first argument full screen, or its own
// project in a window. Any key closes it.
#include "player/entry/program_class_lists.h"
#include "player/shell/player_window.h"
#include "player/shell/process_memory.h"

int main(int argc, char** argv) {
  ReturnLargeBlocksToTheSystem();
  RegisterProgramClasses();
  return RunPlayer(argc, argv);
}
