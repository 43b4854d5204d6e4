#pragma once

#include <cstdint>
#include <vector>

#include "core/archive/data_records.h"
#include "core/archive/ds_iof_archive.h"
#include "core/link/link_key.h"
#include "core/param/media_param.h"
#include "core/param/undo_ctrl.h"
#include "core/zkw_string.h"

// A file link: the name of a picture, effect or mesh (a file path, the file name of a resource
// module, a GUID's text, or empty) and a 64-bit id that tells versions of one name apart (a
// file's modification time, a resource id or a counter). The pair is the key under which the
// current document keeps the link's bytes and the device objects made from them.
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

  // The following set name and id without notification.
  // Name = path; id = the file's modification time in seconds since 1970-01-01 UTC, or 0 when
  // the file cannot be examined.
  void ConstructFromPath(const zkw_string& path);
  // (module, resource id) for a record with a resource id; otherwise (path, the next value of a
  // process-wide counter), so that every stored file gets a key of its own.
  void ConstructFromRecord(const ResourceDataRecord& record);

  LinkKey Key() const { return LinkKey{name, id}; }
  // The name's extension from its last '.', lower-cased; empty without a '.'.
  zkw_string GetExtension() const;
  // False only for a resource module (extension ".dll").
  bool IsFileLink() const;
  // The text after the name's last backslash; empty when the name has none.
  zkw_string GetFileName() const;

  zkw_string name;
  int64_t id = 0;
};

// A link to an effect.
class DS_HLSLEffectFile : public DS_FileLink3 {
 public:
  using DS_FileLink3::DS_FileLink3;
};

// A link to a .x mesh.
class DS_MeshFile : public DS_FileLink3 {
 public:
  using DS_FileLink3::DS_FileLink3;
};

// A link to a picture, with its own undo control over the pair (name, id), subscribed to the
// link. A copy gets a fresh control; assignment copies name and id and keeps the target's
// control and observers.
class DS_ImageFileLink : public DS_FileLink3 {
 public:
  // What the undo control reads and writes: the link's (name, id). Writing always sets the pair
  // and notifies every control but the source, as an undo or redo step must reach the owner.
  class UndoTarget {
   public:
    explicit UndoTarget(DS_ImageFileLink* link) : link_(link) {}
    LinkKey Value() const { return link_->Key(); }
    void SetValue(const LinkKey& key, MediaControl* source);
    void RemoveControl(MediaControl* control) { link_->RemoveControl(control); }

   private:
    DS_ImageFileLink* link_;
  };
  using UndoImage = UndoCtrlT<LinkKey, UndoTarget>;

  DS_ImageFileLink() : DS_ImageFileLink(zkw_string(), 0) {}
  DS_ImageFileLink(zkw_string name, int64_t id);
  explicit DS_ImageFileLink(const DS_FileLink3& link) : DS_ImageFileLink(link.name, link.id) {}
  DS_ImageFileLink(const DS_ImageFileLink& other) : DS_ImageFileLink(other.name, other.id) {}
  DS_ImageFileLink& operator=(const DS_ImageFileLink& other);

  // Name and id (sign-extended), without notification.
  void ConstructNamed(int id, const zkw_string& name);

  // Editing commands have no effect in the player.
  void ExecuteCommand(int, MediaControl*) override {}

  UndoImage& UndoControl() { return undo_; }

 private:
  UndoTarget target_{this};
  UndoImage undo_{&target_};
};

// The text after the path's last backslash; empty when the path has none.
zkw_string FileNameOfPath(const zkw_string& path);

// A link's stored form: the name (ArchiveWideString), then the id (Int64), both assigned to the
// link without notification. Every link kind is stored alike.
void ReadFileLink(DS_IOF_Archive& archive, DS_FileLink3& link);
inline void ReadEffectLink(DS_IOF_Archive& archive, DS_HLSLEffectFile& link) {
  ReadFileLink(archive, link);
}

// Writes a link. A named link also hands its stored records to the current document, which
// writes them in its own record after the scene.
void WriteFileLink(DS_IOF_Archive& archive, const DS_FileLink3& link);
// One image link: its registration with the current document (which stores the link's pictures
// with the project), its name and its id.
void WriteImageLink(DS_IOF_Archive& archive, const DS_ImageFileLink& link);
// A Dword count, then per link: its registration with the current document (which stores the
// link's pictures with the project), its name and its id. Read by ReadImageFileLinkVector.
void WriteImageLinks(DS_IOF_Archive& archive, const std::vector<DS_ImageFileLink>& links);
