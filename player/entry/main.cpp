// The scene player: plays the project file named by its first argument full screen, or its own
// project in a window. Any key closes it.
#include <malloc.h>

#include "player/entry/program_class_lists.h"
#include "player/shell/player_window.h"

int main(int argc, char** argv) {
  // Buffers of pictures, texture levels and read-backs of render targets (tens of megabytes)
  // come from mmap and go back to the system when freed. By default glibc raises its mmap
  // threshold after the first such free, and later ones then stay resident in its heap.
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
  RegisterProgramClasses();
  return RunPlayer(argc, argv);
}
