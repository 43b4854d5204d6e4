#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/sys/file_paths.h"
#include "tools/project_writer/demo_project.h"

namespace scene_test {

// A file's bytes under its file name, as the demo writer takes its inputs.
inline NamedFile FileNamed(const std::filesystem::path& path) {
  auto bytes = sys::ReadWholeFile(path);
  EXPECT_TRUE(bytes) << path;
  return NamedFile{FromUtf8(path.filename().string()), bytes ? *bytes : std::vector<uint8_t>()};
}

// The demo's three background pictures.
inline std::vector<NamedFile> DemoBackgrounds() {
  const std::filesystem::path assets = std::filesystem::path(SCENE_SOURCE_DIR) / "assets/demo";
  return {FileNamed(assets / "dawn.png"), FileNamed(assets / "night.png"),
          FileNamed(assets / "sea.png")};
}

}  // namespace scene_test
