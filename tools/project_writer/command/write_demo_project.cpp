// write_demo_project <output> <background picture>...
// Writes the project the player carries: one slide per background picture, in order.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/registry/class_registries.h"
#include "core/registry/core_class_list.h"
#include "geometry/geometry_class_list.h"
#include "particles/behaviour/behaviour_class_list.h"
#include "platform/sys/file_paths.h"
#include "player/player_class_list.h"
#include "renderers/renderers_class_list.h"
#include "tools/project_writer/demo_project.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <output> <background picture>...\n", argv[0]);
    return 2;
  }
  RegisterClasses({RegisterCoreClasses, RegisterGeometryClasses, RegisterParticlesBehaviourClasses,
                   RegisterPlayerClasses, RegisterRendererClasses});
  std::vector<NamedPicture> backgrounds;
  for (int i = 2; i < argc; ++i) {
    const std::filesystem::path file(argv[i]);
    auto bytes = sys::ReadWholeFile(file);
    if (!bytes) {
      std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
      return 1;
    }
    backgrounds.push_back({FromUtf8(file.filename().string()), std::move(*bytes)});
  }
  const std::vector<uint8_t> project = WriteDemoProject(backgrounds);

  // Written beside the output and renamed, so that a failed run leaves no partial project.
  const std::filesystem::path output(argv[1]);
  std::filesystem::path partial = output;
  partial += ".partial";
  std::error_code error;
  if (output.has_parent_path()) std::filesystem::create_directories(output.parent_path(), error);
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(project.data()), std::streamsize(project.size()));
    if (!out.flush()) error = std::make_error_code(std::errc::io_error);
  }
  if (!error) std::filesystem::rename(partial, output, error);
  if (error) {
    std::filesystem::remove(partial, error);
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
