// photo_memory_probe [slides] [width] [height]
// Plays a project of photo slides (20 full-HD JPEGs by default) on a headless device of
// width x height (1920 x 1080) through every slide, ten frames a second of scene time, and
// prints the resident size after the load and at each slide change, then the peak. Run it
// under /usr/bin/time -v (tools/bench.sh does): the peak should stay under 600 MB and the
// size flat from slide to slide.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "player/photo_player.h"
#include "player/shell/process_memory.h"
#include "resident_size.h"
#include "tools/project_writer/photo_slides.h"

int main(int argc, char** argv) {
  const int slides = argc > 1 ? std::atoi(argv[1]) : 20;
  const int width = argc > 2 ? std::atoi(argv[2]) : 1920;
  const int height = argc > 3 ? std::atoi(argv[3]) : 1080;
  if (slides < 1 || slides > 64 || width < 1 || height < 1 || width > 8192 || height > 8192) {
    std::fprintf(stderr, "usage: %s [slides 1-64] [width] [height]\n", argv[0]);
    return 2;
  }
  ReturnLargeBlocksToTheSystem();
  RegisterProgramClasses();
  PhotoPlayer player{uint32_t(width), uint32_t(height)};
  if (!player.Ready()) {
    std::fprintf(stderr, "%s: no headless device\n", argv[0]);
    return 1;
  }
  {
    const PhotoSlides project = WritePhotoSlides(slides, 1920, 1080);
    player.SetProject(project.project);
  }
  if (!player.Open()) {
    std::fprintf(stderr, "%s: the project did not open\n", argv[0]);
    return 1;
  }
  std::printf("after the load: %ld MiB resident\n", StatusMiB("VmRSS"));
  // Each slide shows 0.5 + 1 + 0.5 s; one more slide's time comes back to the first.
  const DS_SlideContainer* shown = player.Scene().currentSlide.Get();
  int changes = 0;
  for (double t = 0.1; t < 2.0 * (slides + 1); t += 0.1) {
    player.Frame(t);
    if (player.Scene().currentSlide.Get() != shown) {
      shown = player.Scene().currentSlide.Get();
      std::printf("slide change %d: %ld MiB resident\n", ++changes, StatusMiB("VmRSS"));
    }
  }
  std::printf("peak: %ld MiB resident\n", StatusMiB("VmHWM"));
  return 0;
}
