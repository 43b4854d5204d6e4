#include "tools/text_art/glyph_pack.h"

#include <bit>
#include <string>

#include "core/archive/data_records.h"
#include "core/archive/ds_iof_w.h"
#include "tools/text_art/text_picture.h"

std::vector<uint8_t> GlyphPack(const TextFont& font, char16_t glyph, float pixelSize,
                               const std::vector<uint32_t>& tints, float delay) {
  DS_IOF_W pack;
  pack.WriteDword(static_cast<uint32_t>(tints.size()));
  for (size_t i = 0; i < tints.size(); ++i)
    pack.WriteDword(std::bit_cast<uint32_t>(delay));
  pack.WriteDword(static_cast<uint32_t>(tints.size()));
  TextPictureStyle style;
  style.pixelSize = pixelSize;
  style.padding = 2;
  for (size_t i = 0; i < tints.size(); ++i) {
    style.colour = tints[i];
    ResourceDataRecord record;
    record.bytes = UsedPartAsDds(DrawTextPicture(font, std::u16string(1, glyph), style));
    if (record.bytes.empty()) return {};
    record.path = u"glyph" + std::u16string(1, glyph) + u"_" +
                  std::u16string(1, static_cast<char16_t>(u'0' + i)) + u".dds";
    pack.WriteResourceRecord(record);
  }
  return pack.TakeBytes();
}
