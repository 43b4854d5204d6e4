#include "objects/text3d/ds_clock_constructor.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/startup/thread_slots.h"
#include "objects/text3d/ac_clock.h"
#include "player/render/matrix_values.h"
#include "player/render/render_context.h"

namespace {

// centre + offset, kept in the range of a bound.
int BoundAt(int centre, int64_t offset) {
  return static_cast<int>(std::clamp<int64_t>(
      int64_t{centre} + offset, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

DS_ClockConstructor::DS_ClockConstructor() {
  mesh = DS_MeshFile(u"glimres.dll", 70);
  picture = DS_ImageFileLink(u"glimres.dll", 71);
  size.SetValue(400);
  clockRect.extra1.RawValue() = static_cast<int>(SceneWidth() / 2);
  clockRect.extra2.RawValue() = static_cast<int>(SceneHeight() / 2);
  controls_.Watch(&DS_ClockConstructor::OnDialChanged, picture);
}

DS_ClockConstructor::DS_ClockConstructor(const DS_ClockConstructor& other)
    : DS_IOF_Item(),
      DS_3D_Obj_Ctrl(other),
      clockRect(other.clockRect),
      handsPicture(other.handsPicture) {
  controls_.Watch(&DS_ClockConstructor::OnDialChanged, picture);
}

DS_ClockConstructor::~DS_ClockConstructor() = default;

bool DS_ClockConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ClockConstructor", kVersion);
  WriteMediaRectangle(archive, clockRect);
  WriteImageLink(archive, handsPicture);
  return DS_3D_Obj_Ctrl::Save(archive);
}

bool DS_ClockConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadMediaRectangle(archive, clockRect);
  ReadFileLink(archive, handsPicture);
  return DS_3D_Obj_Ctrl::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_ClockConstructor::LoadParts(std::vector<MeshPart>& out) {
  out.resize(2);
  LoadPart(out[0], mesh, picture, true);
  LoadPart(out[1], mesh, handsPicture, true);
  parts = &out;
}

void DS_ClockConstructor::AttachControllers(std::list<TransformNode*>& roots,
                                            std::vector<MeshPart>& out) {
  AttachRootsAndChildren(roots, out);
}

FrameTree DS_ClockConstructor::BuildFrameTree() {
  FrameTree root(new TransformNode);
  root->local = ScalingMatrix(0.01f, 0.01f, 0.01f) * RotationXDegrees(90.0f);
  root->modifier = std::make_unique<AC_Static>(this);
  // The hands stand along +z of the plate, which the root turns to point up the screen.
  const struct {
    float length, offset;
    bool hour;
  } hands[] = {{0.3f, 10.0f, true}, {0.38f, 13.0f, false}};
  for (const auto& hand : hands) {
    auto node = std::make_unique<TransformNode>();
    node->local =
        ScalingMatrix(0.01f, 1.0f, hand.length) * TranslationMatrix(0.0f, 0.0f, hand.offset);
    node->modifier = std::make_unique<AC_ClockArrow>(hand.hour);
    AdoptChild(*root, std::move(node));
  }
  return root;
}

std::unique_ptr<DS_3D_Obj_Ctrl> DS_ClockConstructor::Clone() const {
  return std::make_unique<DS_ClockConstructor>(*this);
}

void DS_ClockConstructor::ViewQuad(QuadCorners& out) {
  out.SetRect(
      static_cast<float>(clockRect.xMin.Value()), static_cast<float>(clockRect.yMin.Value()),
      static_cast<float>(clockRect.xMax.Value()), static_cast<float>(clockRect.yMax.Value()));
}

bool DS_ClockConstructor::HitTest(float x, float y) {
  const RenderContext* context = RenderContextTlsSlot::Get();
  return context != nullptr && clockRect.HitTest(x, y, context->inverseView);
}

void DS_ClockConstructor::WatchDial() {
  if (dialWatched_) return;
  dialWatched_ = true;
  controls_.Watch(&DS_ClockConstructor::PlaceDialBounds, size);
  controls_.Watch(&DS_ClockConstructor::PlaceDialBounds, clockRect);
}

void DS_ClockConstructor::PlaceDialBounds() {
  const int64_t half = size.Value() / 2;
  clockRect.xMin.SetValueSilently(BoundAt(clockRect.extra1.Value(), -half));
  clockRect.xMax.SetValueSilently(BoundAt(clockRect.extra1.Value(), half));
  clockRect.yMin.SetValueSilently(BoundAt(clockRect.extra2.Value(), -half));
  clockRect.yMax.SetValueSilently(BoundAt(clockRect.extra2.Value(), half));
}

void DS_ClockConstructor::OnDialChanged() {
  if (parts != nullptr && !parts->empty()) LoadPart((*parts)[0], mesh, picture, true);
}
