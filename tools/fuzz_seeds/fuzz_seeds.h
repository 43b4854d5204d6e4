#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DS_IOF_Archive;

// Seed inputs of the fuzz targets, in the formats a fuzzer cannot find on its own. Each is small
// and named after what it shows; make_fuzz_seeds writes them into fuzz/corpus/<target>/.
namespace fuzz_seeds {

struct Seed {
  std::string name;
  std::vector<uint8_t> bytes;
};
using Seeds = std::vector<Seed>;

// What `write` stores in an archive, as bytes.
std::vector<uint8_t> WrittenBytes(const std::function<void(DS_IOF_Archive&)>& write);

Seeds PictureSeeds();        // picture_fuzz: PNG, JPEG, BMP, TGA, GIF and DDS files
Seeds ProjectSeeds();        // project_fuzz: projects written by the project writer
Seeds DocumentBodySeeds();   // document_body_fuzz: document bodies of every version
Seeds PakSeeds();            // unreal_scan_fuzz: the archive structures the scanners look for
Seeds PeSeeds();             // pe_resource_fuzz: resource-only PE modules
Seeds WaveSeeds();           // riff_fuzz: WAVE files of every sample format the reader takes
Seeds XMeshSeeds();          // xmesh_fuzz: .x meshes as text, binary and compressed files
Seeds ShapeSeeds();          // curves_fuzz: a record of each shape kind
Seeds StripePhysicsSeeds();  // stripe_physics_fuzz: a record of trails and of each curve kind
Seeds TextureSourceSeeds();  // texture_source_fuzz: two alerter records of each source kind

}  // namespace fuzz_seeds
