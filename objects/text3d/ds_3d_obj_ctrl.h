#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "objects/sprites/ds_view_obj_ctrl.h"
#include "objects/text3d/frame_tree.h"
#include "player/render/mesh_geometry.h"

// The saved form of a 3D model object: a model made of mesh parts, placed in a slide as many
// times as its count says, inside its view rectangle. The kinds say which parts the model has,
// which frame tree one copy has and which controllers move its nodes; the run-time object
// (DS_3DObjArray) keeps the parts and one frame tree per copy.
//
// Record "DS_3D_Obj_Ctrl" version 1: count and size (UInt32), the picture link (registered
// with the document, then name and Int64 id), the mesh link, then the "DS_ViewObjCtrl" record.
class DS_3D_Obj_Ctrl : public DS_ViewObjCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  // Count 1, size 50, motion rate 50; the links are the kinds' to give.
  DS_3D_Obj_Ctrl();
  // The view-object part, count and size (values only) and both links.
  DS_3D_Obj_Ctrl(const DS_3D_Obj_Ctrl& other);
  ~DS_3D_Obj_Ctrl() override;

  bool Save(DS_IOF_Archive& archive) const override;
  // Count and size straight into their values, the two links, then the view-object record; any
  // version reads alike.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // A DS_3DObjArray on a clone of this description.
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override;

  // Fills the parts of the model.
  virtual void LoadParts(std::vector<MeshPart>& parts) = 0;
  // Puts the nodes of every copy's frame tree into the parts' node lists; nothing here.
  virtual void AttachControllers(std::list<TransformNode*>& roots, std::vector<MeshPart>& parts);
  // One copy's frame tree, its nodes carrying their controllers.
  virtual FrameTree BuildFrameTree() = 0;
  // Whether the model shows the time; false here. The player never asks.
  virtual bool UsesClock() const { return false; }
  // A copy of the description of the same kind.
  virtual std::unique_ptr<DS_3D_Obj_Ctrl> Clone() const = 0;

  MediaParamT<unsigned> count{1};
  // The model's size; the kinds read it as pixels or per cent.
  MediaParamT<unsigned> size{50};
  DS_ImageFileLink picture;
  DS_MeshFile mesh;

 protected:
  // The node lists of the kinds with a two-part model: both lists emptied; then for every tree
  // in order its root's children go to the front of part 1's list and the root to the end of
  // part 0's. Fewer than two parts get nothing.
  static void AttachRootsAndChildren(const std::list<TransformNode*>& roots,
                                     std::vector<MeshPart>& parts);
  // Loads a part from a mesh and a picture link (MeshGeometry::LoadMeshWithPicture); a part
  // whose mesh cannot be had stays empty and draws nothing.
  static void LoadPart(MeshPart& part, const DS_MeshFile& meshLink,
                       const DS_ImageFileLink& pictureLink, bool twoSided);
};
