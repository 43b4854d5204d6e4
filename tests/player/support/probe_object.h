#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/registry/class_registries.h"
#include "core/scene/ds_abobj.h"

namespace scene_test {

// A scene-object kind for tests only ("ProbeObject"): it stores one number and its run-time
// object records what the slide and the scene do to it. It draws nothing.
class ProbeDescription : public DS_ABObj_Constructor {
 public:
  ProbeDescription() = default;
  ProbeDescription(const ProbeDescription&) = default;

  bool Save(DS_IOF_Archive& archive) const override {
    WriteRecordHeader(archive, u"ProbeObject", 1);
    archive.io().WriteInt32(value);
    return DS_ABObj_Constructor::Save(archive);
  }
  void ReadBody(DS_IOF_Archive& archive, uint32_t) {
    archive.io().ReadInt32(value);
    DS_ABObj_Constructor::ReadBody(archive, ReadBaseHeader(archive));
  }
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;
  int HoverTest(int x, int y) override {
    hovers.push_back({x, y});
    return value;
  }
  void Click(int x, int y) override {
    clicks.push_back({x, y});
    if (onClick) onClick();
  }

  // Also the number of times the object reads the picture below it.
  int32_t value = 0;
  std::vector<std::pair<int, int>> hovers, clicks;
  std::function<void()> onClick;
};

class ProbeObject : public DS_ABObj {
 public:
  explicit ProbeObject(std::unique_ptr<DS_ABObj_Constructor> description)
      : DS_ABObj(std::move(description)) {}

  ProbeDescription& Probe() const { return *static_cast<ProbeDescription*>(Description()); }
  void Update(float localTime) override { updates.push_back(localTime); }
  int NeedsPictureBelow() const override { return 0; }
  void SetActive(bool active) override {
    DS_ABObj::SetActive(active);
    activations.push_back(active);
  }

  std::vector<float> updates;
  std::vector<bool> activations;
};

inline std::unique_ptr<ZKW_RenderObj> ProbeDescription::CreateRuntimeObject() {
  return std::make_unique<ProbeObject>(std::make_unique<ProbeDescription>(*this));
}

inline void RegisterProbeClasses(ClassRegistries& r) {
  AddObjectClass<ProbeDescription>(r.objects, u"ProbeObject");
}

}  // namespace scene_test
