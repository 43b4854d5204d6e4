#include "particles/classic/lines/static_line_ctrl.h"

#include <algorithm>
#include <memory>

#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "geometry/curve/curve_cursor.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/lines/head_age.h"
#include "particles/classic/lines/line_look.h"
#include "platform/math/d3dx_math.h"

bool ZKW_StaticLineCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_StaticLineCtrl", kVersion);
  archive.io().WriteUInt32(width.Value());
  widthEnvelope.Write(archive);
  opacityEnvelope.Write(archive);
  return ZKW_LineCtrl::Save(archive);
}

bool ZKW_StaticLineCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, width);
  widthEnvelope.Read(archive);
  opacityEnvelope.Read(archive);
  return ZKW_LineCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_StaticLineCtrl::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  lineAppearance.flags |= ParticleAppearance::kFilteredPicture;
  ZKW_LineCtrl::AttachRuntimeObject(runtime);
  lineAppearance.LoadTextures();
  lineAppearance.PrepareLineSurface(lineSurface);
  if (runtime != nullptr) runtime->ResetBatches(2);
  if (heads.size() < kMaxParticlesPerList)
    heads.push_back(MakeParticle(D3DXVECTOR3(500.0f, 500.0f, 0.0f)));
}

void ZKW_StaticLineCtrl::Update(float t) {
  speed.Advance(t);
  appearance.Tick(t);
}

float ZKW_StaticLineCtrl::WidthAt(float) const {
  return width.Scaled();
}

float ZKW_StaticLineCtrl::OpacityAt(float) const {
  return LineOpacityByte(appearance);
}

void ZKW_StaticLineCtrl::RedressHead(float limit) {
  if (heads.empty() || !heads.front()) return;
  const DS_SafePtr<RoutineParticle>& head = heads.front();
  head->routines.clear();
  appearance.InitParticle(head, MakeRoutine<IPR_HeadAge>(limit));
  head->age = 0.0f;
}

uint32_t ZKW_StaticLineCtrl::StripSegments(const CurveCursor& cursor, float length) const {
  const int last = static_cast<int>(samples.size()) - 1;
  if (last < 1 || !(length > 0.0f)) return 0;
  int i = cursor.segment;
  float f = cursor.distanceInSegment + length;
  while (i < last && f > samples[i].segmentLength) {
    f -= samples[i].segmentLength;
    ++i;
  }
  return std::min<uint32_t>(static_cast<uint32_t>(i - cursor.segment + 1), kMaxParticlesPerList);
}

void ZKW_StaticLineCtrl::FillStrip(float from, float to) {
  const float len = to - from;
  const float repeat = LineRepeat(lineAppearance, width.Value());
  CurveCursor cursor(&samples);
  LinePoint a;
  cursor.Advance(from, &a.position, &a.direction);
  D3DXVec3Normalize(&a.direction, &a.direction);
  a.SetEdges(a.direction, WidthAt(len) / 2.0f);
  SetLineColour(a, lineAppearance, OpacityAt(len));
  a.v = LineV(len, repeat);

  const uint32_t n = StripSegments(cursor, len);
  if (mech == nullptr) return;
  const uint32_t quads = mech->ReserveBatch(0, n);
  if (quads < 1) return;
  DX_V::PCT* vertices = mech->batches[0].LockVertices();
  if (vertices == nullptr) return;

  // One quad per pass; only the first pass starts inside the cursor's segment.
  const int last = static_cast<int>(samples.size()) - 1;
  int i = cursor.segment;
  float into = cursor.distanceInSegment;
  float r = len;
  uint32_t q = 0;
  while (r > 0.0f && q < quads) {
    LinePoint b;
    float d = 0.0f;
    if (i < last) {
      const float p = r + into;
      into = 0.0f;
      const CurveSample& s = samples[i];
      if (p > s.segmentLength) {
        b.position = samples[i + 1].position;
        b.direction = samples[i + 1].tangent;
        ++i;
        d = p - s.segmentLength;
      } else {
        // p > 0 here, so the segment has a length.
        b.direction = (samples[i + 1].position - s.position) / s.segmentLength;
        b.position = s.position + b.direction * p;
      }
    } else {
      b.position = samples[last].position;
      b.direction = samples[last].tangent;
    }
    SetLineColour(b, lineAppearance, OpacityAt(d));
    b.v = LineV(d, repeat);
    BuildJoinQuad(vertices + 4 * q, a, WidthAt(d), b);
    a = b;
    r = d;
    ++q;
  }
  mech->batches[0].UnlockVertices();
  mech->quadCounts[0] = q;

  UpdateRoutineParticles(heads, speed.step);
  if (!heads.empty() && heads.front()) {
    RoutineParticle& head = *heads.front();
    const D3DXVECTOR3& t = a.direction;
    head.position =
        a.position + D3DXVECTOR3(-t.y, t.x, 0.0f) * offsetAcross.Value() + t * offsetAlong.Value();
    head.velocity = t;
  }
  appearance.FillBatch(heads, *mech, static_cast<float>(appearance.size.Value()), 1);
}
