#include "particles/classic/kinds/rain_on_glass.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/param/param_reads.h"
#include "particles/classic/routines/color_routine.h"
#include "particles/classic/routines/motion_routines.h"
#include "particles/classic/routines/rain_routines.h"
#include "platform/math/d3dx_math.h"

namespace {

// The still drops' cells of the 2 x 2 atlas, by type 1 to 3.
constexpr std::array<float, 4> kStillDropCells[3] = {
    {0.5f, 0.5f, 0.5f, 0.0f}, {0.5f, 0.5f, 0.0f, 0.5f}, {0.5f, 0.5f, 0.5f, 0.5f}};

}  // namespace

DS_RainOnGlass::~DS_RainOnGlass() {
  // The drops' colour routines read the appearance.
  particles.clear();
}

bool DS_RainOnGlass::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_RainOnGlass", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(counter.rate.Value());
  WriteMediaQuad(archive, pane.rect);
  io.WriteUInt32(slideForce.Value());
  io.WriteUInt32(flow.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool DS_RainOnGlass::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, counter.rate);
  ReadMediaQuad(archive, pane.rect);
  ReadChangedUInt32(archive, slideForce);
  archive.io().ReadUInt32(flow.RawValue());
  flow.Recompute();
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_RainOnGlass::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  appearance.flags |= ParticleAppearance::kOwnSize | ParticleAppearance::kOwnOpacity;
  AttachWithBatches(runtime, 1);
  interaction = MakeRoutine<IPR_RainInteractionRoutine>(
      DS_SafePtr<RoutineCondition>(std::make_unique<PRC_CrossQuad>(pane.rect)),
      DS_SafePtr<RoutineAction>(std::make_unique<PRA_Die>()));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_RainOnGlass::Clone() const {
  return std::make_unique<DS_RainOnGlass>(*this);
}

D3DXVECTOR3 DS_RainOnGlass::FlowVector() const {
  const D3DXVECTOR4& d = flow.Direction();
  return {d.x, -d.y, d.z};
}

RoutineParticleList DS_RainOnGlass::Emit(float step) {
  UpdateRoutineParticles(particles, step);
  MergeTouchingDrops();
  RoutineParticleList born = pane.Generate(RoomFor(counter.Count(step)));
  for (const auto& drop : born)
    InitDrop(drop);
  particles.insert(particles.end(), born.begin(), born.end());
  return {};
}

void DS_RainOnGlass::MergeTouchingDrops() {
  const float r = static_cast<float>(appearance.size.Value()) * 0.9f * 0.5f;
  particles.sort([r](const DS_SafePtr<RoutineParticle>& a, const DS_SafePtr<RoutineParticle>& b) {
    const float topA = a ? a->position.y - a->ownSize * r : 0.0f;
    const float topB = b ? b->position.y - b->ownSize * r : 0.0f;
    return topA < topB;
  });
  PRA_RainMerge& merge = PRA_RainMerge::Instance();
  uint64_t tests = 0;
  for (auto a = particles.begin(); a != particles.end(); ++a) {
    if (!*a) continue;
    RoutineParticle& first = **a;
    const float ra = first.ownSize * r;
    for (auto b = std::next(a); b != particles.end(); ++b) {
      if (++tests > kMaxMergeTests) return;
      if (!*b) continue;
      const RoutineParticle& second = **b;
      const float rb = second.ownSize * r;
      if (second.position.y - rb > first.position.y + ra) break;
      if (second.position.x - rb > first.position.x + ra ||
          first.position.x - ra > second.position.x + rb)
        continue;
      if (!merge.Execute(first, *b)) break;
    }
  }
}

void DS_RainOnGlass::InitDrop(const DS_SafePtr<RoutineParticle>& handle) {
  RoutineParticle& p = *handle;
  const int type = crt_rand() % 4;

  const D3DXVECTOR3 along = FlowVector();
  p.AddRoutine(MakeRoutine<IPR_RainFall>(p.position, kLandingTime), false);
  p.spare |= kRainLanding;
  const float size = static_cast<float>(appearance.size.Value());
  p.position -= along * (size * 10.0f * p.ownSize);
  p.ownOpacity = 0.0f;

  p.AddRoutine(MakeRoutine<IPR_RainDynamic>(along * slideForce.Scaled()), false);
  p.AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
  p.AddRoutine(MakeRoutine<IPR_Color>(&appearance.colorSet, crt_rand_unit()), true);
  p.AddRoutine(interaction, false);

  if (type == 0) {
    p.spare |= kRainSliding;
    p.atlasCell = kSlidingDropCell;
    D3DXMatrixIdentity(&p.matrix);
    return;
  }
  p.ownSize = crt_rand_unit() * 0.3f + 0.5f;
  // Whole degrees: the start angle give or take the spread.
  const int64_t spread = appearance.angleSpread.Value();
  const int64_t turn = static_cast<int64_t>(crt_rand()) % (2 * spread + 1) - spread;
  const float angle = static_cast<float>(int64_t{appearance.startAngle.Value()} + turn);
  p.atlasCell = kStillDropCells[type - 1];
  D3DXMatrixRotationZ(&p.matrix, angle * 3.1415927f / 180.0f);
}
