#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "platform/gfx_image/picture_bytes.h"
#include "platform/headless_sdl.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/support/every_class.h"

namespace document_test {

// A headless device in the process-wide device values and a fresh current document, with a
// private folder for the files a test writes.
class DocumentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterEveryClass();
  }

  void SetUp() override {
    ASSERT_EQ(gfx::Device::CreateHeadless(16, 16, device_.Put()), gfx::kOk);
    GetDeviceValues().device = device_.Get();
    DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
    static int counter = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("document_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(folder_);
  }

  void TearDown() override {
    DocumentTlsSlot::Reset();
    GetDeviceValues().device = nullptr;
    std::filesystem::remove_all(folder_);
  }

  DS_DocResManager& Doc() { return *DocumentTlsSlot::Get(); }

  // Writes a file into the test's folder and answers its path as a stored (UTF-16) path.
  zkw_string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return FromUtf8(path.string());
  }

  // A name for a module file that no other test uses (modules stay loaded for the process).
  static std::string UniqueModuleName(const std::string& stem) {
    static int counter = 0;
    return stem + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".dll";
  }

  gfx::ComPtr<gfx::Device> device_;
  std::filesystem::path folder_;
};

// A PNG of the size, one colour (0xAARRGGBB).
inline std::vector<uint8_t> Png(int width, int height, uint32_t colour = 0xFF336699) {
  return gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, width, height, 4,
                                       gfx_image_test::Words(size_t(width) * height, colour));
}

// The first texel of a texture's level 0 as 0xAARRGGBB.
inline uint32_t FirstTexel(gfx::Texture* texture) {
  std::vector<uint8_t> bytes;
  uint32_t pitch = 0;
  if (texture == nullptr || gfx::Failed(texture->ReadLevel(0, &bytes, &pitch)) || bytes.size() < 4)
    return 0;
  uint32_t texel = 0;
  std::memcpy(&texel, bytes.data(), 4);
  return texel;
}

}  // namespace document_test
