#include "objects/text3d/ds_3d_obj_ctrl.h"

#include "objects/text3d/ds_3d_obj_array.h"

DS_3D_Obj_Ctrl::DS_3D_Obj_Ctrl() {
  motionRate.SetValue(50);
}

DS_3D_Obj_Ctrl::DS_3D_Obj_Ctrl(const DS_3D_Obj_Ctrl& other)
    : DS_IOF_Item(),
      DS_ViewObjCtrl(other),
      count(other.count),
      size(other.size),
      picture(other.picture),
      mesh(other.mesh) {}

DS_3D_Obj_Ctrl::~DS_3D_Obj_Ctrl() = default;

bool DS_3D_Obj_Ctrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_3D_Obj_Ctrl", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(count.Value());
  io.WriteUInt32(size.Value());
  WriteImageLink(archive, picture);
  WriteFileLink(archive, mesh);
  return DS_ViewObjCtrl::Save(archive);
}

bool DS_3D_Obj_Ctrl::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(count.RawValue());
  io.ReadUInt32(size.RawValue());
  ReadFileLink(archive, picture);
  ReadFileLink(archive, mesh);
  return DS_ViewObjCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_3D_Obj_Ctrl::CreateRuntimeObject() {
  return std::make_unique<DS_3DObjArray>(Clone());
}

void DS_3D_Obj_Ctrl::AttachControllers(std::list<TransformNode*>& /*roots*/,
                                       std::vector<MeshPart>& /*parts*/) {}

void DS_3D_Obj_Ctrl::AttachRootsAndChildren(const std::list<TransformNode*>& roots,
                                            std::vector<MeshPart>& parts) {
  for (MeshPart& part : parts)
    part.placements.clear();
  if (parts.size() < 2) return;
  for (TransformNode* root : roots) {
    std::list<TransformNode*>& children = parts[1].placements;
    children.insert(children.begin(), root->children.begin(), root->children.end());
    parts[0].placements.push_back(root);
  }
}

void DS_3D_Obj_Ctrl::LoadPart(MeshPart& part, const DS_MeshFile& meshLink,
                              const DS_ImageFileLink& pictureLink, bool twoSided) {
  // Without a document nothing loads; the part then draws nothing.
  (void)part.LoadMeshWithPicture(meshLink, pictureLink);
  part.twoSided = twoSided;
}
