#pragma once

// The player's load and frame on a headless device of a given size, for the benchmarks and the
// memory probe that play the photo slides: every class registered, the device values, a render
// context and a chrono clock installed for the calling thread.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/chrono/chrono_clock.h"
#include "core/startup/thread_slots.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/entry/program_class_lists.h"
#include "player/project/load_project.h"
#include "player/render/render_context.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"

class PhotoPlayer {
 public:
  PhotoPlayer(uint32_t width, uint32_t height) : width_(width), height_(height) {
    RegisterProgramClasses();
    if (gfx::Failed(gfx::Device::CreateHeadless(width, height, device_.Put()))) return;
    GetDeviceValues() = DeviceValues{device_.Get(), width, height};
    // As the player's device: red, green and blue only.
    device_->SetRenderState(gfx::RenderState::ColorWriteEnable, 7);
    RenderContextTlsSlot::Set(&context_);
    ChronoTlsSlot::Set(&clock_);
  }
  ~PhotoPlayer() {
    Close();
    RenderContextTlsSlot::Set(nullptr);
    ChronoTlsSlot::Set(nullptr);
    GetDeviceValues() = DeviceValues{};
    if (!file_.empty()) std::filesystem::remove(file_);
  }
  bool Ready() const { return static_cast<bool>(device_); }

  // Writes the project to a file of its own, as a user's project lies on disk.
  void SetProject(const std::vector<uint8_t>& bytes) {
    file_ = std::filesystem::temp_directory_path() /
            ("photo_slides_" + std::to_string(getpid()) + ".bin");
    std::ofstream(file_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

  // What the player does from opening the file to its first frame: load, start every slide,
  // draw at time 0.
  bool Open() {
    Close();
    scene_ = LoadProject(file_);
    if (!scene_) return false;
    for (const auto& slide : scene_->slides)
      if (slide) slide->Start();
    Frame(0.0);
    return true;
  }

  // One frame at absolute time t as the player's frame callback draws it; the device finishes
  // the frame's work before it answers.
  void Frame(double t) {
    scene_->Update(t);
    if (gfx::Succeeded(device_->BeginScene())) {
      device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF000000, 1.0f, 0);
      scene_->Render(0);
    }
    device_->EndScene();
    device_->Present();
    device_->Gl().Finish();
  }

  DS_SlideShow_Light& Scene() { return *scene_; }
  gfx::Device* Device() { return device_.Get(); }

  void Close() {
    scene_.reset();
    DocumentTlsSlot::Reset();
  }

 private:
  uint32_t width_, height_;
  gfx::ComPtr<gfx::Device> device_;
  RenderContext context_;
  ChronoClock clock_;
  std::filesystem::path file_;
  std::unique_ptr<DS_SlideShow_Light> scene_;
};
