#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "core/scene/ds_abobj.h"
#include "core/scene/ds_abobj_constructor.h"
#include "core/timing/smart_timing.h"
#include "core/timing/zkw_timing.h"

// A minimal object kind for the tests of the scene-object bases: a description that makes a
// run-time object recording what it is told.
class TestObject;

class TestDescription : public DS_ABObj_Constructor {
 public:
  TestDescription() = default;
  TestDescription(const TestDescription&) = default;

  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  void Restart() override {
    ++restarts;
    localTimeAtRestart = timing.localTime;
  }
  void OnLostDevice() override { ++lostDevices; }
  int HoverTest(int x, int y) override { return x == 3 && y == 4 ? 7 : 0; }
  void Click(int x, int y) override { clicks.push_back({x, y}); }
  int GetObjectKind() const override { return kind; }

  int restarts = 0;
  float localTimeAtRestart = -1.0f;
  int lostDevices = 0;
  std::vector<std::pair<int, int>> clicks;
  int kind = kPlainKind;
};

class TestObject : public DS_ABObj {
 public:
  explicit TestObject(std::unique_ptr<TestDescription> description)
      : DS_ABObj(std::move(description)) {}
  void Update(float localTime) override { updates.push_back(localTime); }
  TestDescription* Desc() const { return static_cast<TestDescription*>(Description()); }

  std::vector<float> updates;
};

inline std::unique_ptr<ZKW_RenderObj> TestDescription::CreateRuntimeObject() {
  return std::make_unique<TestObject>(std::make_unique<TestDescription>(*this));
}

// A timeline whose value and state the test sets; it counts the calls it gets.
class FixedTimeline : public ZKW_Timing {
 public:
  FixedTimeline(float value, TimingState state) {
    value_ = value;
    state_ = state;
  }
  float Step(float t) override {
    ++steps;
    return t;
  }
  void Reset() override { ++resets; }
  void Bind() override { ++binds; }
  void Set(float value, TimingState state) {
    value_ = value;
    state_ = state;
  }

  int steps = 0;
  int resets = 0;
  int binds = 0;
};

// Installs a fixed timeline as the current one of `timing` and answers it.
inline FixedTimeline& InstallFixed(ZKW_SmartTiming& timing, float value,
                                   TimingState state = TimingState::Shown) {
  auto fixed = std::make_unique<FixedTimeline>(value, state);
  FixedTimeline& ref = *fixed;
  timing.SetTiming(std::move(fixed));
  return ref;
}
