#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/list_media_param_impl.h"
#include "particles/tree/line/straight_wideht_line.h"

// The editable, undoable segment list of a line node; the ribbon runs through its segments in
// list order.
class LineSegments : public ListMediaParam_Impl<ZKW_StraightWidehtLine> {
 public:
  // A new default segment after the current one (see InsertAfterCurrent).
  bool AddItem() override;
  // "Segment 01" for index 0.
  zkw_string GetItemName(int index) const override;
  // Appends a segment without notification.
  void Append(DS_SafePtr<ZKW_StraightWidehtLine> segment) { RawValue().push_back(segment); }
};

// One segment record: Int32 1, Int32 1, UInt32 length, the opacity and width records.
void WriteSegment(DS_IOF_Archive& archive, const ZKW_StraightWidehtLine& segment);
// The two Int32 are dropped, the length stored without notification.
void ReadSegment(DS_IOF_Archive& archive, ZKW_StraightWidehtLine& segment);
