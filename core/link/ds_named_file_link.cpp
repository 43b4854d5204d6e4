#include "core/link/ds_named_file_link.h"

#include <algorithm>

DS_NamedFileLinkData::DS_NamedFileLinkData(std::vector<DS_ImageFileLink> imageLinks)
    : links(std::move(imageLinks)) {
  if (!links.empty()) name.RawValue() = links.front().GetFileName();
}

DS_NamedFileLinkData& DS_NamedFileLinkData::operator=(const DS_NamedFileLinkData& other) {
  if (this == &other) return *this;
  name = other.name;
  links = other.links;
  currentName = other.currentName;
  TakeSettings(other);
  return *this;
}

DS_NamedFileLinkData& DS_NamedFileLinkData::operator=(DS_NamedFileLinkData&& other) {
  if (this == &other) return *this;
  name.RawValue() = std::move(other.name.RawValue());
  links = std::move(other.links);
  currentName = std::move(other.currentName);
  TakeSettings(other);
  return *this;
}

void DS_NamedFileLinkData::TakeSettings(const DS_NamedFileLinkData& other) {
  valueA = other.valueA;
  valueB = other.valueB;
  currentId = other.currentId;
  premultiplied = other.premultiplied;
  vectorParam.SetValueSilently(other.vectorParam.Value());
  modeParam.SetValueSilently(other.modeParam.Value());
  version = other.version;
}

bool MediaValueEqual<DS_NamedFileLinkData>::Equal(const DS_NamedFileLinkData& a,
                                                  const DS_NamedFileLinkData& b) {
  return std::equal(a.links.begin(), a.links.end(), b.links.begin(), b.links.end(),
                    [](const DS_ImageFileLink& x, const DS_ImageFileLink& y) {
                      return x.name == y.name && x.id == y.id;
                    });
}

void ReadImageFileLinkVector(DS_IOF_Archive& archive, std::vector<DS_ImageFileLink>& links) {
  constexpr uint64_t kMinLinkBytes = 12;  // an empty name and the id
  uint32_t count = 0;
  archive.io().ReadDword(count);
  links.clear();
  if (!archive.io().CountFits(count, kMinLinkBytes)) {
    return;
  }
  links.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    DS_ImageFileLink link;
    ReadFileLink(archive, link);
    links.push_back(link);
  }
}

void ReadNamedFileLinkData(DS_IOF_Archive& archive, DS_NamedFileLinkData& data) {
  DS_IOF_Virtual& io = archive.io();
  zkw_string name;
  io.ReadWideString(name);
  data.name.RawValue() = std::move(name);
  ReadImageFileLinkVector(archive, data.links);
  uint32_t version = 0;
  io.ReadUInt32(version);
  if (version != 0) {
    io.ReadUInt32(data.valueA);
    io.ReadUInt32(data.valueB);
  }
  if (version >= 2) {
    zkw_string currentName;
    io.ReadWideString(currentName);
    data.currentName = std::move(currentName);
    io.ReadInt64(data.currentId);
  } else if (!data.links.empty()) {
    data.currentName = data.links.front().name;
    data.currentId = data.links.front().id;
  } else {
    data.currentName.clear();
    data.currentId = 0;
  }
  if (version > 2) io.ReadBool(data.premultiplied);
  if (version > 3) {
    D3DXVECTOR3& v = data.vectorParam.RawValue();
    io.ReadFloat(v.x);
    io.ReadFloat(v.y);
    io.ReadFloat(v.z);
  }
  if (version > 4) {
    int32_t mode = data.modeParam.Value();
    io.ReadInt32(mode);
    data.modeParam.RawValue() = mode;
  }
}

void WriteNamedFileLinkData(DS_IOF_Archive& archive, const DS_NamedFileLinkData& data) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteWideString(data.name.Value());
  WriteImageLinks(archive, data.links);
  io.WriteUInt32(data.version);
  io.WriteUInt32(data.valueA);
  io.WriteUInt32(data.valueB);
  io.WriteWideString(data.currentName);
  io.WriteInt64(data.currentId);
  io.WriteBool(data.premultiplied);
  const D3DXVECTOR3& v = data.vectorParam.Value();
  io.WriteFloat(v.x);
  io.WriteFloat(v.y);
  io.WriteFloat(v.z);
  io.WriteInt32(data.modeParam.Value());
}
