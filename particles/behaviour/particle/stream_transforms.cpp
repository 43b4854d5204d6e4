#include "particles/behaviour/particle/stream_transforms.h"

#include <algorithm>
#include <cmath>

#include "particles/behaviour/sources/emitter_kinds.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

}  // namespace

float JitterFactor(const ZKW_JitterParam& param, float r) {
  const float s = param.jitter.Scaled();
  return param.value.Scaled() * (s + r * (1.0f - s));
}

bool PtclTr_Circular::Apply(float dt, ParticleRecord* p) {
  if (speed == nullptr) return true;
  const int m = mode != nullptr ? mode->Value() : 0;
  const float d = static_cast<float>(m <= 0 ? 1 : m == 1 ? -1 : sign);
  const float angle = JitterFactor(*speed, r) * d * dt * kDegreesToRadians;
  D3DXMATRIX toOrigin, turn, back;
  D3DXMatrixTranslation(&toOrigin, -centre.x, -centre.y, -centre.z);
  D3DXMatrixRotationZ(&turn, angle);
  D3DXMatrixTranslation(&back, centre.x, centre.y, centre.z);
  const D3DXMATRIX m4 = toOrigin * turn * back;
  D3DXVECTOR3 moved;
  D3DXVec3TransformCoord(&moved, &p->Position(), &m4);
  p->Position() = moved;
  p->Velocity() = D3DXVECTOR3(-(moved.y - centre.y) * d, (moved.x - centre.x) * d, 0.0f);
  return true;
}

bool PtclTr_Radial::Apply(float dt, ParticleRecord* p) {
  if (speed == nullptr) return true;
  const D3DXVECTOR3 away = p->Position() - centre;
  D3DXVECTOR3 u;
  D3DXVec3Normalize(&u, &away);
  const float flag = inward != nullptr ? static_cast<float>(inward->Value()) : 0.0f;
  p->Position() += u * (JitterFactor(*speed, r) * (1.0f - 2.0f * flag) * dt);
  return true;
}

bool PtclTr_PathTracker::Apply(float dt, ParticleRecord* p) {
  if (!cursor || speed == nullptr) return true;
  CurveCursor& c = *cursor;
  D3DXVECTOR3 direction = p->vectors[ParticleRecord::kDirection];
  const bool alive = c.Advance(JitterFactor(*speed, r) * dt, &p->Position(), &direction);
  p->Velocity() = direction;
  const float total = c.TotalLength();
  if (total > 0.0f && c.samples != nullptr && c.segment >= 0 &&
      c.segment < static_cast<int>(c.samples->size())) {
    const CurveSample& at = (*c.samples)[static_cast<size_t>(c.segment)];
    const float before = at.cumulativeLength - at.segmentLength;
    p->floats[ParticleRecord::kLife] = (before + c.distanceInSegment) / total;
  }
  return alive;
}

bool PtclTr_PerspectiveField::Apply(float, ParticleRecord* p) {
  if (field == nullptr) return true;
  const float w = static_cast<float>(field->width.Value());
  const float depth = static_cast<float>(field->depth.Value());
  const float c = field->tilt.Scaled();
  // Tilts past 200 % would leave the root negative; they count as flat.
  const float s = std::sqrt(std::max(0.0f, 1.0f - c * c));
  const D3DXVECTOR3& uv = p->vectors[ParticleRecord::kVelocity];
  const float g = 1.0f / (1.0f + s * uv.y);
  const D3DXVECTOR3& origin = field->position.Value();
  p->Position().x = w * uv.x * g + origin.x;
  p->Position().y = depth * uv.y * g * c + origin.y;
  p->Position().z += origin.z;
  p->floats[ParticleRecord::kScale] *= g;
  return true;
}

bool PtclTr_PerspectiveFlow::Apply(float, ParticleRecord* p) {
  if (stream == nullptr) return true;
  float a = 1.0f;
  const D3DXVECTOR3 start = stream->start.Value();
  const D3DXVECTOR3 span = stream->end.Value() - start;
  const float length = D3DXVec3Length(&span);
  if (stream->perspective.Value() != 0 && length > 0.0f) {
    const float ex = span.x / length, ey = span.y / length;
    const D3DXVECTOR3 q = p->Position() - stream->position.Value();
    const float n = std::fabs(ex * (q.y - start.y) - ey * (q.x - start.x));
    auto edge = [&](float degrees) {
      const float angle = degrees * kDegreesToRadians;
      return (std::cos(angle) * ex - std::sin(angle) * ey) /
             (std::cos(angle) * ey + std::sin(angle) * ex);
    };
    const float factor =
        1.0f - (n / length) * (edge(static_cast<float>(stream->firstEdge.Value())) -
                               edge(static_cast<float>(stream->secondEdge.Value())));
    // Edges parallel to the stream give no finite factor: no perspective then.
    if (std::isfinite(factor)) a = factor;
  }
  const float speed = JitterFactor(stream->speed, r);
  p->Velocity() = p->vectors[ParticleRecord::kDirection] * (speed * a);
  p->floats[ParticleRecord::kScale] *= a;
  return true;
}
