#pragma once

#include <filesystem>
#include <string_view>

// Where the text art tools find their fonts: the DejaVu faces of Debian's fonts-dejavu-core, at
// the package's own path. A face name stored in a project (the editor's, "Arial", "Times New
// Roman", "Courier New", ...) maps to the DejaVu family of its kind, bold from weight 600.
inline constexpr char kDejaVuDirectory[] = "/usr/share/fonts/truetype/dejavu";

struct FaceChoice {
  std::filesystem::path file;
  // fonts-dejavu-core has no slanted faces: a slanted request gets the upright face slanted.
  bool oblique = false;
};

// Serif for faces whose names say serif or name a serif family (Times, Georgia, ...), Mono for
// fixed-width ones (Courier, Consolas, names with "mono"), Sans for everything else; the bold
// face for `weight` >= 600; oblique when `italic`. Names compare without case.
FaceChoice ChooseDejaVuFace(std::u16string_view face, int weight, bool italic);
