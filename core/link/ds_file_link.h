#pragma once

#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param.h"
#include "core/zkw_string.h"

// A file link: the name of a picture, effect or mesh (a file path, the file name of a resource
// module, a GUID's text, or empty) and a 64-bit id that tells versions of one name apart. The
// pair is the key under which the current document keeps the link's bytes.
//
// The document layer completes the links: their ids from files and records, their queries, the
// writer that registers a saved link with the document, and the undo control of picture links.
class DS_FileLink3 : public MediaParam {
 public:
  DS_FileLink3() = default;
  DS_FileLink3(zkw_string name, int64_t id) : name(std::move(name)), id(id) {}
  // Copies name and id; the copy has no observers.
  DS_FileLink3(const DS_FileLink3& other) : MediaParam(), name(other.name), id(other.id) {}
  DS_FileLink3& operator=(const DS_FileLink3& other) {
    name = other.name;
    id = other.id;
    return *this;
  }

  // The text after the name's last backslash; empty when the name has none.
  zkw_string GetFileName() const;

  zkw_string name;
  int64_t id = 0;
};

// A link that names a picture.
class DS_ImageFileLink : public DS_FileLink3 {
 public:
  using DS_FileLink3::DS_FileLink3;
};

// The text after the path's last backslash; empty when the path has none.
zkw_string FileNameOfPath(const zkw_string& path);

// A link's stored form: the name (ArchiveWideString), then the id (Int64), both assigned to the
// link without notification.
void ReadFileLink(DS_IOF_Archive& archive, DS_FileLink3& link);
