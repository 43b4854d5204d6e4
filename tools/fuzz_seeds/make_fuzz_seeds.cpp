// make_fuzz_seeds <corpus folder>
// Writes the seeds of the fuzz targets into <corpus folder>/<target>/ (normally fuzz/corpus),
// replacing seeds of the same name and leaving every other file (the reproducers) alone, and
// says for each whether the player's own reader takes it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/ds_error.h"
#include "core/guid.h"
#include "platform/audio/riff_reader.h"
#include "platform/gfx/image/dds_reader.h"
#include "platform/gfx/image/picture_decoder.h"
#include "platform/gfx/mesh/mesh.h"
#include "platform/res/resource_module.h"
#include "player/entry/program_class_lists.h"
#include "player/project/load_project.h"
#include "player/scene/ds_slide_show_light.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"

using namespace fuzz_seeds;

namespace {

using Check = std::function<bool(const std::vector<uint8_t>&)>;

bool ReadsAsProject(const std::vector<uint8_t>& bytes) {
  try {
    return LoadProjectFromMemory(bytes) != nullptr;
  } catch (const DS_Error& e) {
    std::printf("    (%s)\n", e.what());
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  RegisterProgramClasses();
  // The same bytes on every run: GUIDs that objects make for themselves come in a fixed order.
  GUID::MakeCreationRepeatable(1);
  const std::filesystem::path root = argv[1];
  struct Target {
    const char* name;
    std::function<Seeds()> make;
    Check check;  // whether the player's reader takes the seed; none: not checked
  };
  const Target targets[] = {
      {"picture_fuzz", PictureSeeds,
       [](const auto& b) {
         return gfx::image::LooksLikeDds(b) ? bool(gfx::image::ReadDds(b))
                                            : bool(gfx::image::DecodePicture(b));
       }},
      {"project_fuzz", ProjectSeeds, ReadsAsProject},
      {"document_body_fuzz", DocumentBodySeeds, {}},
      {"unreal_scan_fuzz", PakSeeds, {}},
      {"pe_resource_fuzz", PeSeeds,
       [](const auto& b) { return bool(res::Module::FromPeImage(b)); }},
      {"curves_fuzz", ShapeSeeds, {}},
      {"stripe_physics_fuzz", StripePhysicsSeeds, {}},
      {"texture_source_fuzz", TextureSourceSeeds, {}},
      {"riff_fuzz", WaveSeeds, [](const auto& b) { return bool(audio::ReadWave(b)); }},
      {"xmesh_fuzz", XMeshSeeds,
       [](const auto& b) {
         gfx::Mesh mesh;
         std::string error;
         const bool ok = gfx::Succeeded(gfx::LoadMeshFromXInMemory(b, &mesh, &error));
         if (!ok) std::printf("    (%s)\n", error.c_str());
         return ok;
       }},
  };
  for (const Target& target : targets) {
    const std::filesystem::path folder = root / target.name;
    std::filesystem::create_directories(folder);
    for (const Seed& seed : target.make()) {
      std::ofstream(folder / seed.name, std::ios::binary)
          .write(reinterpret_cast<const char*>(seed.bytes.data()),
                 std::streamsize(seed.bytes.size()));
      const char* verdict = !target.check ? "" : target.check(seed.bytes) ? "  read" : "  NOT READ";
      std::printf("%s/%s: %zu bytes%s\n", target.name, seed.name.c_str(), seed.bytes.size(),
                  verdict);
    }
  }
  return 0;
}
