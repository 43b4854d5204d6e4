#include "fx/bases/ds_line_based.h"

#include <cmath>

#include "core/math/ratio.h"
#include "core/scene/scene_services.h"

namespace {

// The line through (x0, y0) and (x1, y1): (y0 - y1, x1 - x0, x0 y1 - y0 x1).
std::array<float, 3> LineThrough(float x0, float y0, float x1, float y1) {
  return {y0 - y1, x1 - x0, x0 * y1 - y0 * x1};
}

float NormalLength(const std::array<float, 3>& line) {
  return std::sqrt(line[0] * line[0] + line[1] * line[1]);
}

// The line divided by `length`; a length of 0 (a target without area) leaves it as it is.
void DivideBy(std::array<float, 3>& line, float length) {
  if (length == 0.0f || !std::isfinite(length)) return;
  for (float& v : line)
    v /= length;
}

}  // namespace

bool DS_LineBased::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_LineBased", kVersion);
  archive.io().WriteUInt32(lineDirection.Value());
  WriteCentre(archive);
  return DS_FX_Constructor::Save(archive);
}

bool DS_LineBased::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadUInt32(lineDirection.RawValue());
  lineDirection.Recompute();
  return DS_CentralBased::ReadBody(archive, version);
}

void DS_LineBased::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_CentralBased::Prepare(maskSlot);
  ComputeLines();
}

void DS_LineBased::ComputeLineEquations(std::array<float, 3>& lineAcross) {
  D3DXVECTOR3 p = centre.Value();
  if (mode.Value() != 0 && KindFlag()) p += targetPoint;
  float w = 0.0f, h = 0.0f;
  CurrentTargetSize(w, h);
  const D3DXVECTOR4& d = lineDirection.Direction();
  const D3DXVECTOR4& q = lineDirection.Perpendicular();
  const float x0 = RatioOr0(p.x, w), y0 = RatioOr0(p.y, h);
  const float x1 = RatioOr0(p.x + d.x, w), y1 = RatioOr0(p.y - d.y, h);
  const float x2 = RatioOr0(p.x + q.x, w), y2 = RatioOr0(p.y - q.y, h);
  ln = LineThrough(x0, y0, x1, y1);
  DivideBy(ln, NormalLength(ln));
  lineAcross = LineThrough(x0, y0, x2, y2);
}

void DS_LineBased::ComputeLines() {
  std::array<float, 3> across;
  ComputeLineEquations(across);
  DivideBy(across, NormalLength(across));
  lt = across;
}

void DS_LineBased::ComputeLinesPerspective() {
  std::array<float, 3> across;
  ComputeLineEquations(across);
  DivideBy(across, NormalLength(ln));
  lt = across;
}

void DS_LineBased::BindLines(DS_2D_Light& canvas) {
  if (!effect) return;
  BindCenter(canvas);
  effect->SetFloatArray("Ln", ln.data(), 3);
  effect->SetFloatArray("Lt", lt.data(), 3);
  float w = 0.0f, h = 0.0f;
  CurrentTargetSize(w, h);
  const D3DXVECTOR4& d = lineDirection.Direction();
  const D3DXVECTOR4& q = lineDirection.Perpendicular();
  float t[2] = {RatioOr0(q.x, w), -RatioOr0(q.y, h)};
  NormalizeOr0(t[0], t[1]);
  float n[2] = {RatioOr0(d.x, w), -RatioOr0(d.y, h)};
  NormalizeOr0(n[0], n[1]);
  effect->SetFloatArray("t", t, 2);
  effect->SetFloatArray("n", n, 2);
}
