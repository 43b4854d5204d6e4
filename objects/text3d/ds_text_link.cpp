#include "objects/text3d/ds_text_link.h"

#include "objects/text3d/text_link_rules.h"

bool DS_TextLink::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_TextLink", kVersion);
  archive.io().WriteUInt32(targetSlide.Value());
  return DS_StaticText::Save(archive);
}

bool DS_TextLink::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(targetSlide.RawValue());
  return DS_StaticText::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_TextLink::Clone() const {
  return std::make_unique<DS_TextLink>(*this);
}

bool DS_TextLink::HitTest(float x, float y) const {
  const auto at = LinkPointInPicture(*this, x, y);
  if (!at) return false;
  const D3DXVECTOR3& first = corners.corners[0].Value();
  const D3DXVECTOR3& last = corners.corners[3].Value();
  return first.x <= at->x && at->x <= last.x && first.y <= at->y && at->y <= last.y;
}

int DS_TextLink::HoverTest(int x, int y) {
  return HoverLink(timing, HitTest(static_cast<float>(x), static_cast<float>(y)));
}

void DS_TextLink::Click(int x, int y) {
  ClickLink(timing, HitTest(static_cast<float>(x), static_cast<float>(y)), targetSlide.Value());
}
