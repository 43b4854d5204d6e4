#pragma once

#include <memory>
#include <vector>

#include "core/archive/ds_iof_virtual.h"
#include "core/guid.h"

// The handle every reader and every Save receives. It owns its typed stream.
class DS_IOF_Archive {
 public:
  explicit DS_IOF_Archive(std::unique_ptr<DS_IOF_Virtual> io) : io_(std::move(io)) {}
  virtual ~DS_IOF_Archive() = default;
  DS_IOF_Archive(const DS_IOF_Archive&) = delete;
  DS_IOF_Archive& operator=(const DS_IOF_Archive&) = delete;

  DS_IOF_Virtual& io() { return *io_; }
  bool Failed() const { return io_->Failed(); }

  // Opens a side file for writing next to the archive; 1 when one is open. Archives of the
  // player never open one, so callers that would export a file stop here.
  virtual int BeginFile(zkw_string folder, zkw_string fileName) {
    (void)folder;
    (void)fileName;
    return 0;
  }

  // GUIDs are stored as their 38-unit braced text.
  void WriteGuid(const GUID& guid) { io_->WriteWideString(guid.ToString()); }
  // Text that is not a GUID gives the all-zero GUID.
  void ReadGuid(GUID& guid);
  // A Dword count, then that many resource records appended to `out`.
  void ReadResourceRecordList(std::vector<ResourceDataRecord>& out);

 private:
  std::unique_ptr<DS_IOF_Virtual> io_;
};
