#pragma once

#include <cstdint>
#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/object/ds_iof_item.h"

class DS_ABObj_Constructor;

// Reader objects: one small stateless object per registered class that makes an object of that
// class, read from an archive or with its defaults. The registry has already read the record's
// class name and version when Read is called.
//
// Read makes the object with its defaults and calls its reading body, by the name every archived
// class uses for it: `void ReadBody(DS_IOF_Archive&, uint32_t version)`, which reads the class's
// own fields for that version, then its base's header and body (see core/object/ds_iof_item.h).
// The caller owns the result. The object starts from its constructor's defaults; since stored
// classes may rely on fields their reading does not touch, every field gets a default (zero
// unless the class says otherwise).

// The reader kind of the scene-object registry (no CreateDefault: scene objects are only read).
class IOF_Virtual_Reader {
 public:
  virtual ~IOF_Virtual_Reader() = default;
  virtual std::unique_ptr<DS_ABObj_Constructor> Read(DS_IOF_Archive& archive,
                                                     uint32_t version) const = 0;
};

template <class X>
class IOF_Virtual_ReaderT final : public IOF_Virtual_Reader {
 public:
  std::unique_ptr<DS_ABObj_Constructor> Read(DS_IOF_Archive& archive,
                                             uint32_t version) const override {
    auto object = std::make_unique<X>();
    object->ReadBody(archive, version);
    return object;
  }
};

// The reader kind of every other registry; B is the family's base class.
template <class B>
class IOF_Virtual_ReaderII {
 public:
  using Base = B;
  virtual ~IOF_Virtual_ReaderII() = default;
  virtual std::unique_ptr<B> Read(DS_IOF_Archive& archive, uint32_t version) const = 0;
  virtual std::unique_ptr<B> CreateDefault() const = 0;
};

template <class X, class B>
class IOF_Virtual_ReaderT_II final : public IOF_Virtual_ReaderII<B> {
 public:
  std::unique_ptr<B> Read(DS_IOF_Archive& archive, uint32_t version) const override {
    auto object = std::make_unique<X>();
    object->ReadBody(archive, version);
    return object;
  }
  std::unique_ptr<B> CreateDefault() const override { return std::make_unique<X>(); }
};
