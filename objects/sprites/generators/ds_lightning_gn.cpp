#include "objects/sprites/generators/ds_lightning_gn.h"

#include <algorithm>
#include <cmath>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/math/ratio.h"
#include "core/noise/value_noise.h"
#include "core/param/param_reads.h"
#include "core/timing/random_timeline.h"
#include "core/timing/timing_registry.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "platform/math/d3dx_math.h"

namespace {

// Layer-0 quads of one bolt of `depth` levels without its branches: 2^(depth + 1) points after
// corner cutting, their segments and two caps.
size_t BoltQuads(int depth) {
  const int levels = std::clamp(depth, 0, static_cast<int>(DS_LightningGN::kMaxDepth));
  return (size_t{2} << levels) - 1 + 2;
}

float Length(const D3DXVECTOR3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

D3DXVECTOR3 Unit(const D3DXVECTOR3& v) {
  const float length = Length(v);
  return D3DXVECTOR3(RatioOr0(v.x, length), RatioOr0(v.y, length), RatioOr0(v.z, length));
}

// Slot counts from a file are held to what a tree can place.
unsigned SlotCount(unsigned n) {
  return std::min(n, kMaxParticlesPerList);
}

// A cap's colour: alpha at the joint (vertices 0 and 1), none at the tip.
void ColourCap(QuadVertices& quad, const ColorAlphaParam& colour, float brightness) {
  ColourQuad(quad, colour, brightness);
  quad[2].diffuse &= 0x00FFFFFFu;
  quad[3].diffuse &= 0x00FFFFFFu;
}

void SetU(QuadVertices& quad, float u0, float u1) {
  quad[0].u = u0;
  quad[1].u = u0;
  quad[2].u = u1;
  quad[3].u = u1;
  quad[0].v = quad[2].v = 1.0f;
  quad[1].v = quad[3].v = 0.0f;
}

void JoinCorners(DX_V::PCT& a, DX_V::PCT& b) {
  const float x = (a.x + b.x) * 0.5f, y = (a.y + b.y) * 0.5f, z = (a.z + b.z) * 0.5f;
  a.x = b.x = x;
  a.y = b.y = y;
  a.z = b.z = z;
}

}  // namespace

BoltCounts CountBolt(const Bolt& bolt) {
  BoltCounts counts{bolt.size() > 1 ? bolt.size() - 1 : 0, 1};
  for (const BoltPoint& point : bolt) {
    if (point.branch.empty()) continue;
    const BoltCounts branch = CountBolt(point.branch);
    counts.segments += branch.segments;
    counts.bolts += branch.bolts;
  }
  return counts;
}

bool DS_LightningGN::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_LightningGN", kVersion);
  DS_IOF_Virtual& io = archive.io();
  for (const MediaParamT<unsigned>* value :
       {&coreWidth, &depth, static_cast<const MediaParamT<unsigned>*>(&jitter), &seed,
        static_cast<const MediaParamT<unsigned>*>(&branchLength),
        static_cast<const MediaParamT<unsigned>*>(&branchAngle),
        static_cast<const MediaParamT<unsigned>*>(&taper), &firstBranches, &secondBranches,
        &thirdBranches, static_cast<const MediaParamT<unsigned>*>(&flicker), &glowWidth})
    io.WriteUInt32(value->Value());
  io.WriteInt32(newShape.Value());
  return DS_StringGenerator::Save(archive);
}

bool DS_LightningGN::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(coreWidth.RawValue());
  io.ReadUInt32(depth.RawValue());
  ReadChangedUInt32(archive, jitter);
  io.ReadUInt32(seed.RawValue());
  ReadChangedUInt32(archive, branchLength);
  ReadChangedUInt32(archive, branchAngle);
  ReadChangedUInt32(archive, taper);
  io.ReadUInt32(firstBranches.RawValue());
  io.ReadUInt32(secondBranches.RawValue());
  io.ReadUInt32(thirdBranches.RawValue());
  std::array<uint32_t, 7> old{};
  if (version < 2)
    for (uint32_t& value : old)
      io.ReadUInt32(value);
  ReadChangedUInt32(archive, flicker);
  io.ReadUInt32(glowWidth.RawValue());
  io.ReadInt32(newShape.RawValue());
  const bool read = DS_StringGenerator::ReadBody(archive, ReadBaseHeader(archive));
  // The old timing values (milliseconds) become a random timeline. It is made after the base
  // part, whose timing record would otherwise replace it.
  if (version < 2 && !io.Failed()) {
    std::unique_ptr<ZKW_Timing> made = CreateTimingByName(u"ZKW_RandomTimeLine");
    if (auto* random = dynamic_cast<ZKW_RandomTimeLine*>(made.get())) {
      RandomTimeLineParams& p = random->params;
      p.hiddenMin.SetValue(old[3] / 10);
      p.hiddenMax.SetValue(old[4] / 10);
      p.shownMin.SetValue(old[2] / 10);
      p.shownMax.SetValue(old[2] / 10);
      p.fadeIn.SetValue(old[0] / 10);
      p.fadeOut.SetValue(old[1] / 10);
      timing.RawValue() = 1;
      timing.SetTiming(std::move(made));
    }
  }
  return read;
}

std::unique_ptr<DS_ParticleGenerator> DS_LightningGN::Clone() const {
  return std::make_unique<DS_LightningGN>(*this);
}

void DS_LightningGN::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  Generate();
  CreateMaskTarget();
  obj.SetLayerCount(3);
}

int DS_LightningGN::NeedsTarget() const {
  return CanDrawMask() ? 1 : 0;
}

void DS_LightningGN::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderTwoMasks(renderer, obj);
}

void DS_LightningGN::Generate() {
  if (newShape.Value() == 0) crt_srand(seed.Value());
  bolt.clear();
  builtQuads_ = 0;
  std::vector<BranchSlot> first;
  const unsigned n1 = SlotCount(firstBranches.Value());
  if (n1 > 0) {
    std::vector<BranchSlot> second;
    const unsigned n2 = SlotCount(secondBranches.Value());
    if (n2 > 0) {
      second.resize(n2);
      for (unsigned i = 0, n3 = SlotCount(thirdBranches.Value()); i < n3; ++i)
        second[static_cast<unsigned>(crt_rand()) % n2].sub.emplace_back();
    }
    first.resize(n1);
    for (BranchSlot& slot : second)
      first[static_cast<unsigned>(crt_rand()) % n1].sub.push_back(std::move(slot));
  }
  BuildBolt(start.Value(), end.Value(), bolt, static_cast<int>(std::min(depth.Value(), kMaxDepth)),
            1.0f, first, 1.0f);
}

void DS_LightningGN::BuildBolt(const D3DXVECTOR3& s, const D3DXVECTOR3& e, Bolt& out, int levels,
                               float w, std::vector<BranchSlot>& slots, float g) {
  levels = std::min(levels, static_cast<int>(kMaxDepth));
  builtQuads_ += BoltQuads(levels);
  out.clear();
  out.push_back(BoltPoint{s, w, 0.0f, {}});
  out.push_back(BoltPoint{e, w, 0.0f, {}});
  // Midpoint displacement.
  const float shift = jitter.Scaled();
  for (int level = 0; level < levels; ++level) {
    Bolt finer;
    finer.reserve(out.size() * 2 - 1);
    for (size_t k = 0; k + 1 < out.size(); ++k) {
      const D3DXVECTOR3& p = out[k].position;
      const D3DXVECTOR3& q = out[k + 1].position;
      const float a = crt_rand_unit() * shift;
      const float sign = (crt_rand() & 1) != 0 ? -1.0f : 1.0f;
      const D3DXVECTOR3 d(q.x - p.x, q.y - p.y, 0.0f);
      finer.push_back(std::move(out[k]));
      finer.push_back(
          BoltPoint{(p + q) * 0.5f + D3DXVECTOR3(d.y, -d.x, 0.0f) * (sign * a), w, 0.0f, {}});
    }
    finer.push_back(std::move(out.back()));
    out = std::move(finer);
  }
  // Corner cutting: each point after the first moves two thirds of the way from the point
  // before it, and a point two thirds of the way from the next one back towards it follows.
  {
    const Bolt before = out;
    Bolt cut;
    cut.reserve(before.size() * 2);
    cut.push_back(before.front());
    for (size_t k = 1; k < before.size(); ++k) {
      const D3DXVECTOR3& p = before[k - 1].position;
      const D3DXVECTOR3& q = before[k].position;
      cut.push_back(BoltPoint{p + (q - p) * 0.67f, before[k].width, 0.0f, {}});
      if (k + 1 < before.size()) {
        const D3DXVECTOR3& r = before[k + 1].position;
        cut.push_back(BoltPoint{r + (q - r) * 0.67f, 1.0f, 0.0f, {}});
      }
    }
    out = std::move(cut);
  }
  const size_t count = out.size();
  for (BranchSlot& slot : slots)
    slot.index = static_cast<uint32_t>(crt_rand()) % count;
  // Widths, light phases and branches, from the end back to the start.
  const D3DXVECTOR3 n = Unit(s - e);
  const D3DXVECTOR3 across(n.y, -n.x, 0.0f);
  const float left = taper.Scaled();
  float width = w * left;
  for (size_t i = count; i-- > 0;) {
    BoltPoint& point = out[i];
    point.width = width;
    point.phase = g * static_cast<float>(count - 1 - i) / static_cast<float>(count - 1);
    const auto slot =
        std::find_if(slots.begin(), slots.end(), [i](const BranchSlot& b) { return b.index == i; });
    if (slot != slots.end() && builtQuads_ + BoltQuads(levels - 1) <= kMaxParticlesPerList) {
      const D3DXVECTOR3 x = point.position;
      const float sign = (crt_rand() & 1) != 0 ? -1.0f : 1.0f;
      const float r = crt_rand_unit() * 0.5f + 0.5f;
      const D3DXVECTOR3 toEnd = e - x;
      const float angle = branchAngle.Scaled();
      const D3DXVECTOR3 b =
          x + (toEnd * std::cos(angle) + across * (sign * std::sin(angle) * Length(toEnd))) *
                  (branchLength.Scaled() * r);
      BuildBolt(x, b, point.branch, levels - 1, point.width, slot->sub, point.phase);
    }
    width = std::min(1.0f, width + w * (1.0f - left) / static_cast<float>(count));
  }
}

float DS_LightningGN::Brightness(float h) const {
  const ZKW_Timing* timeline = timing.Current();
  const float v = timing.TimelineValue();
  switch (timeline != nullptr ? timeline->GetState() : TimingState::Shown) {
    case TimingState::FadingOut:
      return v * v;
    case TimingState::Shown:
      return 1.0f - static_cast<float>(OctaveValueNoise1D(4, lastTime * 1000.0, 75.0, 0.5) + 1.0) *
                        flicker.Scaled() * 0.5f;
    case TimingState::FadingIn:
      return v > 1.0f - h ? 1.0f : (v + h - 0.666f) * 3.0f;
    default:
      return v;
  }
}

void DS_LightningGN::Update(float t, DS_ParticlesObj& obj) {
  lastTime = t;
  const ZKW_Timing* timeline = timing.Current();
  if (timeline != nullptr && timeline->GetState() == TimingState::Hidden) {
    generated = 0;
  } else if (generated == 0) {
    Generate();
    generated = 1;
  }
  const BoltCounts counts = CountBolt(bolt);
  const auto capped = [](size_t n) {
    return static_cast<unsigned>(std::min<size_t>(n, kMaxParticlesPerList));
  };
  obj.SetQuadCount(0, capped(counts.segments + 2 * counts.bolts));
  obj.SetQuadCount(1, capped(counts.segments));
  obj.SetQuadCount(2, capped(2 * counts.bolts));
  bool locked[3];
  for (unsigned layer = 0; layer < 3; ++layer)
    locked[layer] = obj.LockLayer(layer);
  written_ = {};
  if (!bolt.empty()) FillBolt(obj, bolt, 0.0f);
  for (unsigned layer = 0; layer < 3; ++layer)
    if (locked[layer]) obj.UnlockLayer(layer);
}

void DS_LightningGN::FillBolt(DS_ParticlesObj& obj, const Bolt& points, float u) {
  if (points.size() < 2) return;
  const float wc = static_cast<float>(coreWidth.Value());
  const float wg = static_cast<float>(glowWidth.Value());
  const float aspect = textures.empty() ? 0.0f
                                        : RatioOr0(static_cast<float>(textures[0].height),
                                                   static_cast<float>(textures[0].width));
  // End-point sprites.
  for (const BoltPoint* point : {&points.front(), &points.back()}) {
    QuadVertices quad;
    const float side = point->width * wg;
    MakeSpriteQuad(quad, point->position.x, point->position.y, point->position.z, side, side);
    ColourQuad(quad, colour2, Brightness(point->phase));
    obj.WriteQuad(2, written_[2]++, quad);
  }
  if (!points.front().branch.empty()) FillBolt(obj, points.front().branch, 0.0f);
  // The start cap, away from the second point.
  {
    const BoltPoint& a = points[0];
    const float w = a.width * wc;
    const D3DXVECTOR3 away = Unit(a.position - points[1].position) * (0.5f * w);
    QuadVertices quad;
    MakeSegmentQuad(Length(away), quad, a.position, away, w, w);
    SetU(quad, u, u + 0.5f * aspect);
    ColourCap(quad, colour1, Brightness(a.phase));
    obj.WriteQuad(0, written_[0]++, quad);
  }
  // The segments, each after the branch at its end; neighbours share their joint corners.
  struct Placed {
    unsigned core, glow;
    QuadVertices coreQuad, glowQuad;
  };
  std::vector<Placed> strip;
  strip.reserve(points.size() - 1);
  for (size_t k = 0; k + 1 < points.size(); ++k) {
    const BoltPoint& a = points[k];
    const BoltPoint& b = points[k + 1];
    if (!b.branch.empty()) FillBolt(obj, b.branch, 0.0f);
    const D3DXVECTOR3 delta = b.position - a.position;
    const float length = Length(delta);
    const float u1 = u + RatioOr0(length, wc) * b.width * aspect;
    Placed placed{written_[0]++, written_[1]++, {}, {}};
    MakeSegmentQuad(length, placed.coreQuad, a.position, delta, a.width * wc, b.width * wc);
    MakeSegmentQuad(length, placed.glowQuad, a.position, delta, a.width * wg, b.width * wg);
    SetU(placed.coreQuad, u, u1);
    SetU(placed.glowQuad, u, u1);
    const float light = Brightness(a.phase);
    ColourQuad(placed.coreQuad, colour1, light);
    ColourQuad(placed.glowQuad, colour2, light);
    if (!strip.empty()) {
      Placed& before = strip.back();
      JoinCorners(before.coreQuad[2], placed.coreQuad[0]);
      JoinCorners(before.coreQuad[3], placed.coreQuad[1]);
      JoinCorners(before.glowQuad[2], placed.glowQuad[0]);
      JoinCorners(before.glowQuad[3], placed.glowQuad[1]);
    }
    strip.push_back(placed);
    u = u1;
  }
  for (const Placed& placed : strip) {
    obj.WriteQuad(0, placed.core, placed.coreQuad);
    obj.WriteQuad(1, placed.glow, placed.glowQuad);
  }
  // The end cap, on along the last segment.
  {
    const BoltPoint& last = points.back();
    const BoltPoint& before = points[points.size() - 2];
    const float w = last.width * wc;
    const D3DXVECTOR3 on = Unit(last.position - before.position) * (0.7f * w);
    QuadVertices quad;
    MakeSegmentQuad(Length(on), quad, last.position, on, w, 0.7f * w);
    SetU(quad, u, u + 0.7f * aspect);
    ColourCap(quad, colour1, Brightness(before.phase));
    obj.WriteQuad(0, written_[0]++, quad);
  }
}
