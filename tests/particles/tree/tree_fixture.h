#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/ds_iof_w.h"
#include "core/registry/read_by_name.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/tree/picture_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/support/every_class.h"
#include "renderers/renderer_fixture.h"

namespace tree_test {

using renderer_test::Bytes;

inline std::vector<uint8_t> Saved(const DS_IOF_Item& item) {
  return Bytes([&](DS_IOF_Archive& a) { item.Save(a); });
}

// One scene object read by class name; `whole` tells whether the bytes held exactly it.
inline std::unique_ptr<DS_ABObj_Constructor> ReadObject(const std::vector<uint8_t>& bytes,
                                                        bool* whole) {
  renderer_test::ReadArchive source(bytes);
  auto object = ReadByName(source.archive(), GetObjectRegistry());
  *whole = !source.archive().Failed() && source.Remaining() == 0;
  return object;
}

// The same for a particle-engine part.
inline std::unique_ptr<ZKW_IOF_Item> ReadItem(const std::vector<uint8_t>& bytes, bool* whole) {
  renderer_test::ReadArchive source(bytes);
  auto item = ReadByName(source.archive(), GetIofItemRegistry());
  *whole = !source.archive().Failed() && source.Remaining() == 0;
  return item;
}

// A point group physics of `count` children per parent particle.
inline std::unique_ptr<ZKW_PtclSysPhys_ConstPntGroup> Group(unsigned count) {
  auto group = std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>();
  group->count.RawValue() = count;
  return group;
}

// A node of kind N with a point group of `count`.
template <class N>
DS_SafePtr<ZKW_PtclSys_Node> Node(unsigned count) {
  auto node = std::make_unique<N>();
  node->SetPhysics(Group(count));
  return DS_SafePtr<ZKW_PtclSys_Node>(std::move(node));
}

// A headless renderer, the document and render context, with the classes every fixture of the
// program registers.
class TreeRenderTest : public renderer_test::RendererTest {
 protected:
  TreeRenderTest() : RendererTest(64, 64) {}

  static void SetUpTestSuite() {
    UseHeadlessSdl();
    RegisterEveryClass();
  }

  // The picture of `picture`: a source of one link whose frames are `texels` (texelsWide x
  // texelsHigh) standing for a picture of width x height units, in an atlas of columns x rows.
  // Any node with a `texture` (a ZKW_AlerterTextureSRC) takes it.
  template <class Node>
  void UsePicture(Node& picture, const DS_ImageFileLink& link, uint32_t width, uint32_t height,
                  uint32_t texelsWide, uint32_t texelsHigh, const std::vector<uint32_t>& texels,
                  uint32_t columns = 1, uint32_t rows = 1) {
    ProvideFrames(link, width, height, texelsWide, texelsHigh, texels);
    auto source = std::make_unique<ZKW_ImgFileTex>();
    source->links = {link};
    source->valueA = columns;
    source->valueB = rows;
    source->premultiplied = true;
    picture.texture.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(std::move(source)));
  }

  // The run-time object of `object`, updated once at 0 and drawn in one frame on `background`
  // (the log holds that frame's entries).
  RuntimeObjectList DrawOnce(DS_ABObj_Constructor& object, uint32_t background) {
    StartSlideOn(renderer_, 64, 64, background);
    RuntimeObjectList objects{DS_SafePtr<ZKW_RenderObj>(object.CreateRuntimeObject())};
    objects.front()->Update(0.0f);
    ClearLog();
    Frame(renderer_, objects);
    return objects;
  }

  // Whether the frame logged a draw with `technique`.
  bool Drew(const std::string& technique) {
    return std::any_of(Log().begin(), Log().end(), [&](const gfx::FrameLogEntry& e) {
      return e.kind == gfx::FrameLogEntry::Kind::Draw && e.technique == technique;
    });
  }

  DS_2D_Light renderer_;

  uint32_t PixelAt(int x, int y) { return BackBufferPixels()[size_t(y) * width_ + x]; }
};

}  // namespace tree_test
