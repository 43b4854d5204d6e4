#include "particles/classic/lines/groving_line.h"

#include "core/math/ratio.h"
#include "particles/classic/control/timeline_reading.h"
#include "particles/classic/lines/line_look.h"

bool ZKW_GrovingLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_GrovingLine", kVersion);
  pathWidthEnvelope.Write(archive);
  pathOpacityEnvelope.Write(archive);
  archive.io().WriteInt32(retract.Value());
  return ZKW_StaticLineCtrl::Save(archive);
}

bool ZKW_GrovingLine::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  pathWidthEnvelope.Read(archive);
  pathOpacityEnvelope.Read(archive);
  if (version >= 2) {
    archive.io().ReadInt32(retract.RawValue());
  } else {
    retract.RawValue() = 0;
  }
  return ZKW_StaticLineCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_GrovingLine::Clone() const {
  return std::make_unique<ZKW_GrovingLine>(*this);
}

void ZKW_GrovingLine::Update(float t) {
  ZKW_StaticLineCtrl::Update(t);
  const TimelineReading timeline = TimelineReading::Of(*this);
  const int state = static_cast<int>(timeline.state);
  constexpr int kHidden = static_cast<int>(TimingState::Hidden);
  if ((timeline.cycle == 0.0f && state != kHidden) || (lastState == kHidden && state != kHidden))
    RedressHead(timeline.cycle);
  lastState = state;
  const float length = PathLength();
  shownLength = length * timeline.value;
  if (retract.Value() != 0 && lastState == static_cast<int>(TimingState::FadingOut)) {
    FillStrip(length - shownLength, length);
  } else {
    FillStrip(0.0f, shownLength);
  }
}

float ZKW_GrovingLine::WidthAt(float d) const {
  const float length = PathLength();
  return width.Scaled() * EnvelopeAt(widthEnvelope, RatioOr0(d, length)) *
         EnvelopeAt(pathWidthEnvelope, RatioOr0(shownLength - d, length));
}

float ZKW_GrovingLine::OpacityAt(float d) const {
  const float length = PathLength();
  return LineOpacityByte(lineAppearance) * EnvelopeAt(opacityEnvelope, RatioOr0(d, length)) *
         EnvelopeAt(pathOpacityEnvelope, RatioOr0(shownLength - d, length));
}
