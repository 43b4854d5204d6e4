#include "particles/tree/line/line_segments.h"

#include <cstdio>
#include <memory>

bool LineSegments::AddItem() {
  return InsertAfterCurrent(
      DS_SafePtr<ZKW_StraightWidehtLine>(std::make_unique<ZKW_StraightWidehtLine>()));
}

zkw_string LineSegments::GetItemName(int index) const {
  char text[32];
  std::snprintf(text, sizeof text, "Segment %02d", index + 1);
  return FromUtf8(text);
}

void WriteSegment(DS_IOF_Archive& archive, const ZKW_StraightWidehtLine& segment) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(1);
  io.WriteInt32(1);
  io.WriteUInt32(segment.Length());
  WriteGraphSpreadPrm(archive, segment.opacity);
  WriteGraphSpreadPrm(archive, segment.width);
}

void ReadSegment(DS_IOF_Archive& archive, ZKW_StraightWidehtLine& segment) {
  DS_IOF_Virtual& io = archive.io();
  int32_t dropped = 0;
  io.ReadInt32(dropped);
  io.ReadInt32(dropped);
  uint32_t length = 0;
  io.ReadUInt32(length);
  segment.SetValueSilently(length);
  ReadGraphSpreadPrm(archive, segment.opacity);
  ReadGraphSpreadPrm(archive, segment.width);
}
