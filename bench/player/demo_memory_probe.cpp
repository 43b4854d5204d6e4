// demo_memory_probe [width] [height]
// Plays every slide of the demo at width x height (1920 x 1080) through the player, in show
// order, 1.5 s of scene time each in frames 0.25 s apart, and prints the resident size after
// start-up and after each slide, then the peak. Run it under /usr/bin/time -v (tools/bench.sh
// does): the peak should stay under 700 MB.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "player/entry/program_class_lists.h"
#include "player/shell/process_memory.h"
#include "player/support/whole_demo_player.h"
#include "resident_size.h"

int main(int argc, char** argv) {
  const int width = argc > 1 ? std::atoi(argv[1]) : 1920;
  const int height = argc > 2 ? std::atoi(argv[2]) : 1080;
  if (width < 1 || height < 1 || width > 8192 || height > 8192) {
    std::fprintf(stderr, "usage: %s [width] [height]\n", argv[0]);
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  ReturnLargeBlocksToTheSystem();
  RegisterProgramClasses();
  WholeDemoPlayer player(width, height);
  if (!player.Ready()) {
    std::fprintf(stderr, "%s: the player did not start on a headless window\n", argv[0]);
    return 1;
  }
  double t = 0.0;
  player.Frame(t);
  std::printf("after start-up: %ld MiB resident\n", StatusMiB("VmRSS"));
  for (size_t i = 0; i < player.Scene().slides.size(); ++i) {
    player.Scene().JumpTo(unsigned(i));
    for (int frame = 0; frame < 6; ++frame)
      player.Frame(t += 0.25);
    std::printf("%s: %ld MiB resident\n", player.SlideName(i).c_str(), StatusMiB("VmRSS"));
  }
  std::printf("peak: %ld MiB resident\n", StatusMiB("VmHWM"));
  return 0;
}
