// The shooting line's frame: shots moving on and their trails written as strips.
#include <algorithm>

#include "core/list_limits.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/lines/shooting_line.h"
#include "particles/classic/routines/path_routines.h"
#include "platform/math/d3dx_math.h"

namespace {

// a's edges, when not yet set, square to the chord from a to b with half width w / 2.
void SetEdgesTowards(LinePoint& a, const LinePoint& b, float w) {
  if (a.edgesSet != 0.0f) return;
  const D3DXVECTOR3 chord = b.position - a.position;
  D3DXVec3Normalize(&a.direction, &chord);
  a.SetEdges(a.direction, w / 2.0f);
}

}  // namespace

float ZKW_ShootingLine::TrailPosition(const RoutineParticle& p, const RoutineParticle& head) const {
  const unsigned trail = trailLength.Value();
  if (trail == 0) return 1.0f;
  return 1.0f - (head.age - p.age) / static_cast<float>(trail);
}

float ZKW_ShootingLine::TrailWidth(const RoutineParticle& p, const RoutineParticle& head) const {
  return width.Scaled() * EnvelopeAt(widthEnvelope, TrailPosition(p, head));
}

void ZKW_ShootingLine::MakeTrailPoint(const RoutineParticle& p, const RoutineParticle& head,
                                      LinePoint& out) const {
  out.position = p.position;
  D3DXVec3Normalize(&out.direction, &p.velocity);
  const float u = TrailPosition(p, head);
  SetLineColour(out, lineAppearance,
                LineOpacityByte(lineAppearance) * EnvelopeAt(lineAppearance.opacityEnvelope, u));
  out.v = LineV(p.age, LineRepeat(lineAppearance, width.Value()));
  out.edgesSet = 0.0f;
}

void ZKW_ShootingLine::Update(float t) {
  speed.Advance(t);
  appearance.Tick(t);
  const float step = speed.step;
  Advance(step);
  if (mech == nullptr) return;
  appearance.FillBatch(particles, *mech, static_cast<float>(appearance.size.Value()), 0);

  const float length = PathLength();
  const float trail = static_cast<float>(trailLength.Value());
  uint64_t needed = 0;
  for (auto it = shots.begin(); it != shots.end();) {
    if (!it->head || !it->tail) {
      it = shots.erase(it);
      continue;
    }
    RoutineParticle& head = *it->head;
    RoutineParticle& tail = *it->tail;
    head.Update(step);
    tail.age = std::max(0.0f, head.age - trail);
    if (tail.age > length) {
      it = shots.erase(it);
      continue;
    }
    tail.Update(0.0f);
    needed += 1 + static_cast<uint64_t>(std::max(0, head.pathIndex - tail.pathIndex));
    ++it;
  }
  const uint32_t quads = mech->ReserveBatch(
      1, static_cast<uint32_t>(std::min<uint64_t>(needed, kMaxParticlesPerList)));
  if (mech->batches.size() < 2) return;
  PCTSpriteArray& batch = mech->batches[1];
  DX_V::PCT* const first = batch.LockVertices();
  if (first == nullptr) return;
  DX_V::PCT* next = first;
  DX_V::PCT* const end = first + 4 * static_cast<size_t>(quads);
  for (const ShotRecord& shot : shots) {
    if (next == end) break;
    next = WriteTrail(shot, next, end);
  }
  batch.UnlockVertices();
  mech->quadCounts[1] = static_cast<uint32_t>((next - first) / 4);
}

DX_V::PCT* ZKW_ShootingLine::WriteTrail(const ShotRecord& shot, DX_V::PCT* next,
                                        DX_V::PCT* end) const {
  const int sampleCount = static_cast<int>(samples.size());
  if (sampleCount < 2) return next;
  const RoutineParticle& head = *shot.head;
  const RoutineParticle& tail = *shot.tail;
  const float length = PathLength();

  // The walker steps from sample to sample between the tail and the head, on the shot's wave.
  RoutineParticle walker(D3DXVECTOR3(0, 0, 0));
  walker.pathIndex = tail.pathIndex + 1;
  walker.lateralUnit = tail.lateralUnit;
  AddWave(walker, shot.phase);
  walker.AddRoutine(MakeRoutine<IPR_IndexedPathPoint>(&lateralOffset, cursor), false);

  LinePoint a;
  MakeTrailPoint(tail, head, a);
  while (walker.pathIndex <= head.pathIndex && next != end) {
    const int j = walker.pathIndex;
    // The arc length at sample j.
    walker.age = std::min(samples[std::min(j - 1, sampleCount - 2)].cumulativeLength, length);
    walker.Update(0.0f);
    LinePoint b;
    MakeTrailPoint(walker, head, b);
    SetEdgesTowards(a, b, TrailWidth(tail, head));
    BuildSegmentQuad(next, a, TrailWidth(walker, head), b);
    next += 4;
    a = b;
    ++walker.pathIndex;
  }
  if (next == end) return next;

  // The trail ends at the head, or at the path's end once the head has run past it.
  const RoutineParticle* last = &head;
  if (!(head.age < length)) {
    walker.pathIndex = sampleCount - 1;
    walker.age = length;
    walker.Update(0.0f);
    last = &walker;
  }
  LinePoint b;
  MakeTrailPoint(*last, head, b);
  SetEdgesTowards(a, b, TrailWidth(tail, head));
  b.direction = a.direction;
  BuildSquareQuad(next, a, TrailWidth(*last, head), b);
  return next + 4;
}
