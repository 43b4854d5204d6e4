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
  if (uint64_t{count} * kMinLinkBytes > archive.io().Remaining()) {
    archive.io().Fail();
    return;
  }
  links.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    DS_ImageFileLink link;
    ReadFileLink(archive, link);
    links.push_back(link);
  }
}
