#include "core/link/ds_file_link.h"

zkw_string FileNameOfPath(const zkw_string& path) {
  const size_t slash = path.rfind(u'\\');
  return slash == zkw_string::npos ? zkw_string() : path.substr(slash + 1);
}

zkw_string DS_FileLink3::GetFileName() const {
  return FileNameOfPath(name);
}

void ReadFileLink(DS_IOF_Archive& archive, DS_FileLink3& link) {
  archive.io().ReadWideString(link.name);
  archive.io().ReadInt64(link.id);
}
