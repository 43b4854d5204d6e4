#include "player/scene/ds_slide_container.h"

#include "core/registry/read_by_name.h"
#include "core/scene/ds_abobj.h"
#include "core/scene/zkw_render_obj.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/render/quad_corners.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// The period that slides before version 6 give the manual timelines, in hundredths of a second.
constexpr unsigned kDefaultPeriod = 1000;

void WriteDescriptions(DS_IOF_Archive& archive,
                       const std::vector<std::unique_ptr<DS_ABObj_Constructor>>& saved,
                       const RuntimeObjectList& objects) {
  std::vector<const DS_ABObj_Constructor*> descriptions;
  for (const auto& d : saved)
    if (d) descriptions.push_back(d.get());
  for (const auto& object : objects) {
    const auto* made = dynamic_cast<const DS_ABObj*>(object.Get());
    if (made != nullptr && made->Description() != nullptr)
      descriptions.push_back(made->Description());
  }
  archive.io().WriteDword(static_cast<uint32_t>(descriptions.size()));
  for (const DS_ABObj_Constructor* d : descriptions)
    d->Save(archive);
}

}  // namespace

DS_SlideContainer::DS_SlideContainer() : renderer(std::unique_ptr<DS_2D_Light>()) {}

DS_SlideContainer::~DS_SlideContainer() = default;

bool DS_SlideContainer::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_SlideContainer", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(mode.Value());
  io.WriteFloat(fadeIn.Value());
  io.WriteFloat(fadeOut.Value());
  io.WriteFloat(hold.Value());
  io.WriteInt32(slideSetting.Value());
  io.WriteWideString(name.Value());
  if (renderer) {
    renderer->Save(archive);
  } else {
    // No class reads this record: a reader stops here, as it did where this slide was read.
    WriteRecordHeader(archive, u"", 0);
  }
  WriteDescriptions(archive, savedObjects, objects);
  WriteDescriptions(archive, savedExtraObjects, extraObjects);
  return true;
}

void DS_SlideContainer::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  if (version >= 5) {
    io.ReadInt32(mode.RawValue());
    io.ReadFloat(fadeIn.RawValue());
    io.ReadFloat(fadeOut.RawValue());
    io.ReadFloat(hold.RawValue());
  } else {
    for (MediaParamT<float>* seconds : {&fadeIn, &fadeOut, &hold}) {
      uint32_t whole = static_cast<uint32_t>(seconds->Value());
      io.ReadUInt32(whole);
      seconds->RawValue() = static_cast<float>(whole);
    }
  }
  io.ReadInt32(slideSetting.RawValue());
  io.ReadWideString(name.RawValue());

  unsigned period = kDefaultPeriod;
  if (version >= 3 && version <= 5) {
    io.ReadUInt32(period);
    if (version == 3) period *= 100;
  }

  renderer = DS_SafePtr<DS_2D_Light>(ReadByName(archive, GetRendererRegistry()));
  ReadObjectList(archive, savedObjects);
  if (version <= 5) {
    for (const auto& d : savedObjects)
      if (d && d->timing.Current()) d->timing.Current()->SetPeriod(period);
  }
  if (version >= 2) ReadObjectList(archive, savedExtraObjects);
}

void DS_SlideContainer::Start() {
  if (DS_SafePtr<DS_2D_Light> r = renderer) {
    r->Prepare();
    QuadCorners unit;
    unit.SetRect(0.0f, 0.0f, 1.0f, 1.0f);
    r->SetViewQuad(unit);
  }
  RuntimeObjectsByGuid made;
  for (const auto& d : savedObjects)
    if (d) d->GetOrCreateRuntimeObject(objects, made);
  for (const auto& object : objects)
    if (object) object->BindTiming();
  for (const auto& d : savedExtraObjects) {
    if (!d) continue;
    DS_SafePtr<ZKW_RenderObj> object(d->CreateRuntimeObject());
    if (object) extraObjects.push_back(std::move(object));
  }
  savedObjects.clear();
  savedExtraObjects.clear();
}

void DS_SlideContainer::RenderPass(const RuntimeObjectList& list, int arg) {
  DS_SafePtr<DS_2D_Light> r = renderer;
  if (!r) return;
  int readers = 0;
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (*it) readers += (*it)->NeedsPictureBelow();
  if (r->NeedsOffscreenPass()) ++readers;
  if (readers > 0) {
    if (gfx::Device* device = CurrentDevice())
      device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
    r->BeginTargets();
  }
  (void)arg;  // the renderer's passes take no context from the scene
  r->DrawBackground(nullptr);
  r->RenderObjects(list, readers);
}

void DS_SlideContainer::SetFitMode(int fitMode) {
  if (DS_SafePtr<DS_2D_Light> r = renderer) r->SetFitMode(fitMode);
}

void DS_SlideContainer::SetObjectsActive(bool active) {
  for (const RuntimeObjectList* list : {&extraObjects, &objects})
    for (const auto& object : *list)
      if (object) object->SetActive(active);
}

void DS_SlideContainer::OnLostDevice() {
  for (const auto& object : objects)
    if (object) object->ForwardLostDevice();
  if (DS_SafePtr<DS_2D_Light> r = renderer) r->ReleaseDeviceObjects();
}
