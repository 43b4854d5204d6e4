#include "particles/classic/lines/sliding_line.h"

#include <algorithm>

#include "core/math/ratio.h"
#include "particles/classic/control/timeline_reading.h"
#include "particles/classic/lines/line_look.h"

bool ZKW_SlidingLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_SlidingLine", kVersion);
  archive.io().WriteUInt32(slideLength.Value());
  archive.io().WriteInt32(alternate.Value());
  return ZKW_StaticLineCtrl::Save(archive);
}

bool ZKW_SlidingLine::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(slideLength.RawValue());
  archive.io().ReadInt32(alternate.RawValue());
  return ZKW_StaticLineCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_SlidingLine::Clone() const {
  return std::make_unique<ZKW_SlidingLine>(*this);
}

void ZKW_SlidingLine::Update(float t) {
  ZKW_StaticLineCtrl::Update(t);
  const TimelineReading timeline = TimelineReading::Of(*this);
  const bool shown = timeline.state == TimingState::Shown;
  const float piece = static_cast<float>(slideLength.Value());
  if (armed != 0 && shown) {
    armed = 0;
    if (alternate.Value() == 1) {
      reversed = reversed != 0 ? 0 : 1;
      SamplePath();
    } else if (reversed != 0) {
      reversed = 0;
      SamplePath();
    }
    const float length = PathLength();
    RedressHead(RatioOr0(timeline.cycle * length, piece + length));
  }
  if (armed == 0 && !shown) armed = 1;
  const float length = PathLength();
  const float l = (piece + length) * timeline.progress;
  if (l > length && !heads.empty() && heads.front()) heads.front()->ownOpacity = 0.0f;
  FillStrip(std::max(0.0f, l - piece), l);
}

float ZKW_SlidingLine::WidthAt(float d) const {
  const float piece = static_cast<float>(slideLength.Value());
  return width.Scaled() * EnvelopeAt(widthEnvelope, 1.0f - RatioOr0(d, piece));
}

float ZKW_SlidingLine::OpacityAt(float d) const {
  const float piece = static_cast<float>(slideLength.Value());
  return LineOpacityByte(lineAppearance) * EnvelopeAt(opacityEnvelope, 1.0f - RatioOr0(d, piece));
}
