// write_demo_project <output> [--music <sound file>] [--picture <picture file>]...
//                    [--mesh <.x file>]... <background picture>...
// Writes the project the player carries: one slide per background picture, in order, the sound
// file as its background music, and the other pictures and the meshes for its objects (masks,
// particles, drifting leaves) by file name.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "core/guid.h"
#include "platform/sys/file_paths.h"
#include "player/entry/program_class_lists.h"
#include "tools/project_writer/demo_project.h"

namespace {

std::optional<NamedFile> ReadNamedFile(const char* program, const char* name) {
  const std::filesystem::path file(name);
  auto bytes = sys::ReadWholeFile(file);
  if (!bytes) {
    std::fprintf(stderr, "%s: cannot read %s\n", program, name);
    return std::nullopt;
  }
  return NamedFile{FromUtf8(file.filename().string()), std::move(*bytes)};
}

}  // namespace

int main(int argc, char** argv) {
  const char* musicName = nullptr;
  std::vector<const char*> pictureNames, meshNames;
  int first = 2;
  for (; first + 1 < argc; first += 2) {
    if (std::strcmp(argv[first], "--music") == 0) {
      musicName = argv[first + 1];
    } else if (std::strcmp(argv[first], "--picture") == 0) {
      pictureNames.push_back(argv[first + 1]);
    } else if (std::strcmp(argv[first], "--mesh") == 0) {
      meshNames.push_back(argv[first + 1]);
    } else {
      break;
    }
  }
  if (argc <= first) {
    std::fprintf(stderr,
                 "usage: %s <output> [--music <sound file>] [--picture <picture file>]... "
                 "[--mesh <.x file>]... <background picture>...\n",
                 argv[0]);
    return 2;
  }
  RegisterProgramClasses();
  // The same bytes on every run: GUIDs that objects make for themselves come in a fixed order.
  GUID::MakeCreationRepeatable(1);
  std::vector<NamedFile> backgrounds, pictures, meshes;
  for (int i = first; i < argc; ++i) {
    auto picture = ReadNamedFile(argv[0], argv[i]);
    if (!picture) return 1;
    backgrounds.push_back(std::move(*picture));
  }
  for (const auto& [names, files] : {std::pair{&pictureNames, &pictures}, {&meshNames, &meshes}}) {
    for (const char* name : *names) {
      auto file = ReadNamedFile(argv[0], name);
      if (!file) return 1;
      files->push_back(std::move(*file));
    }
  }
  std::optional<NamedFile> music;
  if (musicName != nullptr && !(music = ReadNamedFile(argv[0], musicName))) return 1;
  const std::vector<uint8_t> project =
      WriteDemoProject(backgrounds, music ? &*music : nullptr, pictures, meshes);

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
