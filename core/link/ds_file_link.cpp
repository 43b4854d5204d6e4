#include "core/link/ds_file_link.h"

#include <sys/stat.h>

#include "core/scene/scene_services.h"
#include "core/text_helpers.h"

zkw_string FileNameOfPath(const zkw_string& path) {
  const size_t slash = path.rfind(u'\\');
  return slash == zkw_string::npos ? zkw_string() : path.substr(slash + 1);
}

void DS_FileLink3::ConstructFromPath(const zkw_string& path) {
  name = path;
  id = 0;
  struct stat status {};
  if (!path.empty() && ::stat(ToFsPath(path).c_str(), &status) == 0) id = status.st_mtime;
}

void DS_FileLink3::ConstructFromRecord(const ResourceDataRecord& record) {
  // Main thread only, as every link is.
  static uint32_t counter = 0;
  if (record.resourceId != 0) {
    name = record.module;
    id = int64_t{record.resourceId};
  } else {
    name = record.path;
    id = int64_t{static_cast<int32_t>(++counter)};
  }
}

zkw_string DS_FileLink3::GetExtension() const {
  return GetLowerExtension(name);
}

bool DS_FileLink3::IsFileLink() const {
  return GetExtension() != u".dll";
}

zkw_string DS_FileLink3::GetFileName() const {
  return FileNameOfPath(name);
}

DS_ImageFileLink::DS_ImageFileLink(zkw_string name, int64_t id)
    : DS_FileLink3(std::move(name), id) {
  AddControl(&undo_);
  undo_.OnParamChanged(nullptr);
}

DS_ImageFileLink& DS_ImageFileLink::operator=(const DS_ImageFileLink& other) {
  DS_FileLink3::operator=(other);
  undo_.OnParamChanged(nullptr);
  return *this;
}

void DS_ImageFileLink::ConstructNamed(int newId, const zkw_string& newName) {
  name = newName;
  id = int64_t{newId};
}

void DS_ImageFileLink::UndoTarget::SetValue(const LinkKey& key, MediaControl* source) {
  link_->name = key.name;
  link_->id = key.id;
  link_->NotifyChanged(source);
}

void ReadFileLink(DS_IOF_Archive& archive, DS_FileLink3& link) {
  // Fresh destinations: an empty stored name must give an empty name.
  zkw_string name;
  int64_t id = 0;
  archive.io().ReadWideString(name);
  archive.io().ReadInt64(id);
  link.name = std::move(name);
  link.id = id;
}

void WriteFileLink(DS_IOF_Archive& archive, const DS_FileLink3& link) {
  if (!link.name.empty()) StageLinkRecordsForSave(link);
  archive.io().WriteWideString(link.name);
  archive.io().WriteInt64(link.id);
}

void WriteImageLink(DS_IOF_Archive& archive, const DS_ImageFileLink& link) {
  RegisterSavedLinkWithDocument(link);
  archive.io().WriteWideString(link.name);
  archive.io().WriteInt64(link.id);
}

void WriteImageLinks(DS_IOF_Archive& archive, const std::vector<DS_ImageFileLink>& links) {
  archive.io().WriteDword(static_cast<uint32_t>(links.size()));
  for (const DS_ImageFileLink& link : links)
    WriteImageLink(archive, link);
}
