#include "particles/behaviour/params/forces_prm.h"

#include "core/param/param_reads.h"

void ReadForcesPrm(DS_IOF_Archive& archive, ForcesPrm& forces) {
  if (ReadBlockVersion(archive) > 1)
    archive.io().ReadInt32(forces.dragMode.RawValue());
  else
    forces.dragMode.RawValue() = 3;
  archive.io().ReadInt32(forces.gravityMode.RawValue());
  ReadChangedUInt32(archive, forces.gravity);
  ReadChangedUInt32(archive, forces.drag);
}

void WriteForcesPrm(DS_IOF_Archive& archive, const ForcesPrm& forces) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(2);
  io.WriteInt32(forces.dragMode.Value());
  io.WriteInt32(forces.gravityMode.Value());
  io.WriteUInt32(forces.gravity.Value());
  io.WriteUInt32(forces.drag.Value());
}
