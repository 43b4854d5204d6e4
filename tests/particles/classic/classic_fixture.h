#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/registry/read_by_name.h"
#include "core/timing/zkw_timing.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/routines/inner_particle_routine.h"
#include "player/support/every_class.h"
#include "renderers/renderer_fixture.h"

namespace classic_test {

// Every fixture of this program registers the same classes (the whole program's), so that the
// registries can be sealed once whatever order the tests run in.
inline void RegisterClassicTestClasses() {
  RegisterEveryClass();
}

using renderer_test::Bytes;

using renderer_test::ReadArchive;

// The scene object a record makes through the object registry; `left` (when given) gets the
// bytes that remain and `failed` whether the stream failed.
inline std::unique_ptr<DS_ABObj_Constructor> ReadObject(std::vector<uint8_t> bytes,
                                                        uint64_t* left = nullptr,
                                                        bool* failed = nullptr) {
  ReadArchive source(std::move(bytes));
  auto object = ReadByName(source.archive(), GetObjectRegistry());
  if (left != nullptr) *left = source.Remaining();
  if (failed != nullptr) *failed = source.archive().Failed();
  return object;
}

// A timeline whose state and value the test sets.
class FixedTimeline : public ZKW_Timing {
 public:
  void Set(TimingState state, float value) {
    state_ = state;
    value_ = value;
  }
};

// Installs a fixed timeline as the description's current one and answers it.
inline FixedTimeline& UseFixedTimeline(DS_ABObj_Constructor& description) {
  auto timeline = std::make_unique<FixedTimeline>();
  FixedTimeline& ref = *timeline;
  description.timing.SetTiming(std::move(timeline));
  return ref;
}

// A test kind: emits `perStep` particles a step, each with a routine that notes its steps.
class StepControl : public ZKW_ParticleSystemCtrl {
 public:
  StepControl() = default;
  StepControl(const StepControl&) = default;

  bool Save(DS_IOF_Archive& archive) const override {
    return ZKW_ParticleSystemCtrl::Save(archive);
  }
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override {
    return std::make_unique<StepControl>(*this);
  }
  RoutineParticleList Emit(float step) override {
    emitSteps.push_back(step);
    RoutineParticleList born;
    for (int i = 0; i < RoomFor(perStep); ++i) {
      auto p = DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(D3DXVECTOR3{}));
      p->AddRoutine(DS_SafePtr<InnerParticleRoutine>(std::make_unique<Log>(&steps)), false);
      born.push_back(p);
    }
    particles.insert(particles.end(), born.begin(), born.end());
    return born;
  }
  float PrewarmTime() const override { return prewarm; }
  void AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) override {
    ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
    runtime->ResetBatches(1);
  }

  // Notes every step a particle of the control takes.
  class Log : public InnerParticleRoutine {
   public:
    explicit Log(std::vector<float>* steps) : steps_(steps) {}
    bool Apply(float dt, RoutineParticle&) override {
      steps_->push_back(dt);
      return true;
    }

   private:
    std::vector<float>* steps_;
  };

  int perStep = 0;
  float prewarm = 5.0f;
  std::vector<float> emitSteps;
  std::vector<float> steps;
};

// A record of an older version: image links, the shape index or list, effect link, frame
// speed, size, colour, transparency, then the three flags (from 2) and the speed (in 4).
inline std::vector<uint8_t> LegacyControl(uint32_t version, const std::vector<int32_t>& shapes,
                                          bool withLink) {
  return Bytes([&](DS_IOF_Archive& a) {
    DS_IOF_Virtual& io = a.io();
    io.WriteWideString(u"ZKW_ParticleSystemCtrl");
    io.WriteDword(version);
    io.WriteDword(withLink ? 1 : 0);
    if (withLink) {
      io.WriteWideString(u"glimres.dll");
      io.WriteInt64(2);
    }
    if (version < 3) {
      io.WriteInt32(shapes.front());
    } else {
      io.WriteDword(uint32_t(shapes.size()));
      for (int32_t s : shapes)
        io.WriteInt32(s);
    }
    io.WriteWideString(u"glimres.dll");
    io.WriteInt64(202);
    io.WriteUInt32(30);
    io.WriteUInt32(25);
    io.WriteDword(0x00FF00);
    io.WriteUInt32(10);
    if (version >= 2) {
      io.WriteInt32(1);
      io.WriteInt32(1);
      io.WriteInt32(0);
    }
    if (version == 4) io.WriteUInt32(300);
    StepControl().DS_ABObj_Constructor::Save(a);
  });
}

// A headless renderer, the document and render context, with every class registered.
class ClassicRenderTest : public renderer_test::RendererTest {
 protected:
  ClassicRenderTest() : RendererTest(64, 64) {}

  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterClassicTestClasses();
  }

  // A look that draws a white square picture of `link` with effect 202.
  void WhiteLook(ParticleAppearance& look, const DS_ImageFileLink& link, unsigned size) {
    ProvideFrames(link, 4, 4, 2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF));
    look.picture.SetValue(DS_NamedFileLinkData({link}));
    look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
    look.size.SetValue(size);
  }

  DS_2D_Light renderer_;

  // The pixel at (x, y) of the back buffer.
  uint32_t PixelAt(int x, int y) { return BackBufferPixels()[size_t(y) * width_ + x]; }
};

// Channels of a 0xAARRGGBB pixel.
inline int RedOf(uint32_t p) {
  return int((p >> 16) & 0xFF);
}
inline int GreenOf(uint32_t p) {
  return int((p >> 8) & 0xFF);
}
inline int BlueOf(uint32_t p) {
  return int(p & 0xFF);
}

}  // namespace classic_test
