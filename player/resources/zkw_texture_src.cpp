#include "player/resources/zkw_texture_src.h"

#include "core/guid.h"
#include "core/param/param_reads.h"
#include "core/registry/read_by_name.h"

namespace {

// Stores a UInt32 or Int32 read from the archive into a parameter without notification.
void ReadSilently(DS_IOF_Archive& archive, MediaParamTB<unsigned>& param) {
  archive.io().ReadUInt32(param.RawValue());
}
void ReadSilently(DS_IOF_Archive& archive, MediaParamTB<int>& param) {
  archive.io().ReadInt32(param.RawValue());
}

}  // namespace

ZKW_TextureSRC::ZKW_TextureSRC() {
  DS_ImageFileLink link;
  link.ConstructFromPath(GUID::Create().ToString());
  links.push_back(link);
  currentName = link.name;
  currentId = link.id;
}

bool ZKW_TextureSRC::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_TextureSRC", 1);
  WriteNamedFileLinkData(archive, *this);
  return true;
}

void ZKW_TextureSRC::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadNamedFileLinkData(archive, *this);
}

bool ZKW_ResIDTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ResIDTex", 1);
  SaveBase(archive);
  return true;
}

void ZKW_ResIDTex::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadBase(archive);
}

std::unique_ptr<ZKW_TextureSRC> ZKW_ResIDTex::Clone() const {
  return std::make_unique<ZKW_ResIDTex>(*this);
}

bool ZKW_ImgFileTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ImgFileTex", 1);
  SaveBase(archive);
  return true;
}

void ZKW_ImgFileTex::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadBase(archive);
}

std::unique_ptr<ZKW_TextureSRC> ZKW_ImgFileTex::Clone() const {
  return std::make_unique<ZKW_ImgFileTex>(*this);
}

bool ZKW_SoftCircleTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_SoftCircleTex", 1);
  archive.io().WriteUInt32(value1.Value());
  archive.io().WriteUInt32(value2.Value());
  archive.io().WriteInt32(value3.Value());
  SaveBase(archive);
  return true;
}

void ZKW_SoftCircleTex::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadSilently(archive, value1);
  ReadSilently(archive, value2);
  ReadSilently(archive, value3);
  ReadBase(archive);
}

std::unique_ptr<ZKW_TextureSRC> ZKW_SoftCircleTex::Clone() const {
  return std::make_unique<ZKW_SoftCircleTex>(*this);
}

bool ZKW_TextTexure::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_TextTexure", 1);
  archive.io().WriteWideString(text.Value());
  font.Save(archive);
  layer.Save(archive);
  SaveBase(archive);
  return true;
}

void ZKW_TextTexure::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadWideString(text.RawValue());
  font.Read(archive);
  layer.Read(archive);
  ReadBase(archive);
}

std::unique_ptr<ZKW_TextureSRC> ZKW_TextTexure::Clone() const {
  return std::make_unique<ZKW_TextTexure>(*this);
}

bool ZKW_PolygonTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PolygonTex", 1);
  archive.io().WriteUInt32(value1.Value());
  archive.io().WriteUInt32(value2.Value());
  archive.io().WriteUInt32(scaled.Value());
  archive.io().WriteInt32(value4.Value());
  archive.io().WriteInt32(value5.Value());
  SaveBase(archive);
  return true;
}

void ZKW_PolygonTex::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadSilently(archive, value1);
  ReadSilently(archive, value2);
  ReadChangedUInt32(archive, scaled);
  ReadSilently(archive, value4);
  ReadSilently(archive, value5);
  ReadBase(archive);
}

std::unique_ptr<ZKW_TextureSRC> ZKW_PolygonTex::Clone() const {
  return std::make_unique<ZKW_PolygonTex>(*this);
}

std::unique_ptr<ZKW_TextureSRC> ReadTextureSrc(DS_IOF_Archive& archive) {
  return ReadByName(archive, GetTextureSrcRegistry());
}
