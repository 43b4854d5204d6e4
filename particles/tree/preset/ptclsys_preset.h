#pragma once

#include <cstdint>
#include <vector>

#include "core/param/media_param_t.h"
#include "particles/tree/preset/pstree_root.h"

// The scene object of a ready-made preset: a preset tree that also keeps a preset value, a float
// list and a value list, written back unchanged and used by nothing. Its run-time object is made
// from a plain copy of the tree.
class ZKW_PtclSysPreset : public ZKW_PSTree_Root {
 public:
  ZKW_PtclSysPreset() = default;

  // "ZKW_PtclSysPreset" version 3: UInt32 preset value, the counted floats, the counted values,
  // then the root record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 holds the preset value only, version 2 adds the floats. Counts that the remaining
  // bytes cannot hold fail the stream and leave the lists empty.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  int GetObjectKind() const override { return kPlainKind; }

  uint32_t presetValue = 0;
  std::vector<float> floats;
  std::vector<MediaParamT<unsigned>> values;
};
