#include "objects/text3d/ds_butterfly_constructor.h"

#include "core/param/param_reads.h"
#include "objects/text3d/ac_butterfly.h"
#include "player/render/matrix_values.h"

DS_ButterflyConstructor::DS_ButterflyConstructor() {
  mesh = DS_MeshFile(u"glimres.dll", 69);
  size.SetValue(100);
  viewFlag = true;
}

bool DS_ButterflyConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ButterflyConstructor", kVersion);
  WriteImageLink(archive, bodyPicture);
  WriteFileLink(archive, bodyMesh);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(spare1.Value());
  io.WriteUInt32(spare2.Value());
  io.WriteFloat(wingScale);
  return DS_3D_Obj_Ctrl::Save(archive);
}

bool DS_ButterflyConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadFileLink(archive, bodyPicture);
  ReadFileLink(archive, bodyMesh);
  ReadChangedUInt32(archive, spare1);
  ReadChangedUInt32(archive, spare2);
  if (version > 1) archive.io().ReadFloat(wingScale);
  return DS_3D_Obj_Ctrl::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_ButterflyConstructor::LoadParts(std::vector<MeshPart>& parts) {
  parts.resize(2);
  LoadPart(parts[0], bodyMesh, bodyPicture, false);
  LoadPart(parts[1], mesh, picture, true);
}

void DS_ButterflyConstructor::AttachControllers(std::list<TransformNode*>& roots,
                                                std::vector<MeshPart>& parts) {
  AttachRootsAndChildren(roots, parts);
}

FrameTree DS_ButterflyConstructor::BuildFrameTree() {
  FrameTree root(new TransformNode);
  root->local = ScalingMatrix(0.5f, 0.5f, 0.5f) * RotationYDegrees(90.0f);
  auto steering = std::make_unique<AC_Butterfly>(this);
  AC_Butterfly& butterfly = *steering;
  root->modifier = std::move(steering);
  for (AC_ButterflyWing** wing : {&butterfly.wing1, &butterfly.wing2}) {
    auto node = std::make_unique<TransformNode>();
    node->local = ScalingMatrix(wingScale, wingScale, wingScale);
    auto controller = std::make_unique<AC_ButterflyWing>();
    *wing = controller.get();
    node->modifier = std::move(controller);
    AdoptChild(*root, std::move(node));
  }
  return root;
}

std::unique_ptr<DS_3D_Obj_Ctrl> DS_ButterflyConstructor::Clone() const {
  return std::make_unique<DS_ButterflyConstructor>(*this);
}
