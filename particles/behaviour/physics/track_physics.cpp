#include "particles/behaviour/physics/track_physics.h"

#include <memory>

#include "core/param/param_reads.h"

ZKW_PtclSysPhys_Track::ZKW_PtclSysPhys_Track() {
  std::unique_ptr<ZKW_VGeom2D> made = CreateVGeom2DByName("ZKW_VGeom2D_BSpline");
  if (auto* asCurve = dynamic_cast<ZKW_VGeom2D_Curve*>(made.get())) {
    made.release();
    curve.Set(std::unique_ptr<ZKW_VGeom2D_Curve>(asCurve));
  }
}

bool ZKW_PtclSysPhys_Track::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_Track", 2);
  if (const ZKW_VGeom2D_Curve* shape = curve.Get()) {
    shape->Save(archive);
  } else {
    // A track read without a curve writes an empty B-spline, which reads back as no path.
    ZKW_PtclSysPhys_Track().curve.Get()->Save(archive);
  }
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(2);
  io.WriteUInt32(motion.depth.Value());
  io.WriteInt32(motion.reverse.Value());
  WritePathFollowPrm(archive, motion);
  io.WriteInt32(1);
  io.WriteUInt32(pauses.startPause.Value());
  io.WriteUInt32(pauses.endPause.Value());
  io.WriteInt32(pauses.hideAtStart.Value());
  io.WriteInt32(pauses.hideAtEnd.Value());
  return ZKW_PtclSysPhys_ConstPntGroup::Save(archive);
}

void ZKW_PtclSysPhys_Track::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  std::unique_ptr<ZKW_VGeom2D> read = ReadVGeom2D(archive);
  auto* asCurve = dynamic_cast<ZKW_VGeom2D_Curve*>(read.get());
  if (asCurve != nullptr) read.release();
  curve.Set(std::unique_ptr<ZKW_VGeom2D_Curve>(asCurve));
  DS_IOF_Virtual& io = archive.io();
  if (version >= 2) {
    const int32_t format = ReadBlockVersion(archive);
    ReadChangedUInt32(archive, motion.depth);
    if (format > 1) io.ReadInt32(motion.reverse.RawValue());
    ReadPathFollowPrm(archive, motion);
    ReadBlockVersion(archive);
    ReadChangedUInt32(archive, pauses.startPause);
    ReadChangedUInt32(archive, pauses.endPause);
    io.ReadInt32(pauses.hideAtStart.RawValue());
    io.ReadInt32(pauses.hideAtEnd.RawValue());
  } else {
    ReadPathFollowPrm(archive, motion);
  }
  ZKW_PtclSysPhys_ConstPntGroup::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_Track::InitNewParticle(ParticleRecord* particle) {
  AttachTransform<PtclTr_FollowCurve>(*particle, &curve, &motion, &pauses);
}

bool ZKW_PtclSysPhys_TrackPerspective::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_TrackPerspective", 1);
  return ZKW_PtclSysPhys_Track::Save(archive);
}

void ZKW_PtclSysPhys_TrackPerspective::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ZKW_PtclSysPhys_Track::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_TrackPerspective::InitNewParticle(ParticleRecord* particle) {
  AttachTransform<PtclTr_PerspectivePath>(*particle, &curve, &motion, &pauses);
}
