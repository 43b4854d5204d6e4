#include "objects/text3d/ds_text_link_constructor.h"

#include "objects/text3d/text_link_rules.h"

bool DS_TextLinkConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_TextLinkConstructor", kVersion);
  archive.io().WriteUInt32(targetSlide.Value());
  return DS_StaticTextConstructor::Save(archive);
}

bool DS_TextLinkConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadUInt32(targetSlide.RawValue());
  return DS_StaticTextConstructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_TextLinkConstructor::Clone() const {
  return std::make_unique<DS_TextLinkConstructor>(*this);
}

bool DS_TextLinkConstructor::HitTest(float x, float y) {
  const auto at = LinkPointInPicture(*this, x, y);
  if (!at) return false;
  const D3DXVECTOR3& p = position.Value();
  const float hw = static_cast<float>(width.Value() >> 1);
  const float hh = static_cast<float>(height.Value() >> 1);
  return p.x - hw <= at->x && at->x <= p.x + hw && p.y - hh <= at->y && at->y <= p.y + hh;
}

int DS_TextLinkConstructor::HoverTest(int x, int y) {
  return HoverLink(timing, HitTest(static_cast<float>(x), static_cast<float>(y)));
}

void DS_TextLinkConstructor::Click(int x, int y) {
  ClickLink(timing, HitTest(static_cast<float>(x), static_cast<float>(y)), targetSlide.Value());
}
