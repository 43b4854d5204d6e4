#include "particles/classic/lines/line_ctrl.h"

#include "geometry/path/bspline_point_io.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/lines/line_look.h"

bool ZKW_LineCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_LineCtrl", kVersion);
  DS_IOF_Virtual& io = archive.io();
  WriteBSplinePointVector(archive, path.Value());
  io.WriteInt32(particlesOn.Value());
  lineAppearance.SaveBlock(archive);
  io.WriteFloat(offsetAcross.Value());
  io.WriteFloat(offsetAlong.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_LineCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadBSplinePointVector(archive, path.RawValue());
  io.ReadInt32(particlesOn.RawValue());
  lineAppearance.ReadBlock(archive);
  io.ReadFloat(offsetAcross.RawValue());
  io.ReadFloat(offsetAlong.RawValue());
  if (version < 2) {
    int32_t dropped = 0;
    io.ReadInt32(dropped);
  }
  ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
  if (version <= 1) ExchangeLooks(lineAppearance, appearance);
  return true;
}

int ZKW_LineCtrl::NeedsTarget() const {
  return LineReaders(lineAppearance, appearance, particlesOn.Value() != 0);
}

void ZKW_LineCtrl::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
  SamplePath();
}

void ZKW_LineCtrl::SamplePath() {
  path.SampleBezierSegments(samples, kSamplesPerSegment, reversed != 0);
}

void ZKW_LineCtrl::Render(DS_2D_Light& renderer, int* readerCount) {
  if (mech == nullptr) return;
  RenderLineAndHeads(lineAppearance, lineSurface, appearance, particlesOn.Value() != 0, *mech, 0, 1,
                     renderer, readerCount, false);
}
