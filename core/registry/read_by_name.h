#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/archive/ds_iof_archive.h"
#include "core/registry/class_registries.h"
#include "core/text_helpers.h"

// Reading and creating objects by class name. Each family's named operations (ReadObject,
// ReadVGraph, ReadTiming, CreateTimingByName, ...) are one-line wrappers over these, declared
// with the family's base class, for example:
//
//   inline std::unique_ptr<ZKW_VGraph> ReadVGraph(DS_IOF_Archive& archive) {
//     return ReadByName(archive, GetVGraphRegistry());
//   }

// Records may nest (objects in groups, nodes in trees); deeper nesting than this fails the
// stream, so a crafted file cannot exhaust the stack.
inline constexpr int kMaxRecordNesting = 256;

// Counts the records being read on this thread for as long as it lives.
class RecordNestingScope {
 public:
  RecordNestingScope();
  ~RecordNestingScope();
  RecordNestingScope(const RecordNestingScope&) = delete;
  RecordNestingScope& operator=(const RecordNestingScope&) = delete;
  bool TooDeep() const;
};

// Reads a record header, the class name and the Dword version, inside `nesting`; false (the
// stream failed) when records nest deeper than the limit.
inline bool ReadRecordHeader(DS_IOF_Archive& archive, const RecordNestingScope& nesting,
                             zkw_string& name, uint32_t& version) {
  archive.io().ReadWideString(name);
  archive.io().ReadDword(version);
  if (!nesting.TooDeep()) return true;
  archive.io().Fail("records nest more than " + std::to_string(kMaxRecordNesting) + " deep");
  return false;
}

// The registered reader's Read of the record whose header named `name` and `version`. A name that
// the registry does not hold leaves the stream out of step (the record's length is not stored, so
// its body cannot be skipped): the stream is failed at that point, the rest reads as defaults,
// and the result is null.
template <class Reader>
auto ReadBodyByName(DS_IOF_Archive& archive, const ClassRegistry<Reader>& registry,
                    const zkw_string& name, uint32_t version)
    -> decltype(std::declval<const Reader&>().Read(archive, 0u)) {
  const Reader* reader = registry.Find(name);
  if (reader == nullptr) {
    // A failed stream reads empty names; only the first failure is worth naming.
    if (!archive.Failed()) archive.io().Fail("no class is registered as " + QuoteForLog(name));
    return nullptr;
  }
  return reader->Read(archive, version);
}

// Reads a record by class name: the class name and the Dword version, then the registered
// reader's Read with that version (see ReadBodyByName for a name the registry lacks).
template <class Reader>
auto ReadByName(DS_IOF_Archive& archive, const ClassRegistry<Reader>& registry)
    -> decltype(std::declval<const Reader&>().Read(archive, 0u)) {
  RecordNestingScope nesting;
  zkw_string name;
  uint32_t version = 0;
  if (!ReadRecordHeader(archive, nesting, name, version)) return nullptr;
  return ReadBodyByName(archive, registry, name, version);
}

// A new object of the class registered under `name` with its defaults, or null.
template <class B>
std::unique_ptr<B> CreateByName(const FamilyRegistry<B>& registry, std::u16string_view name) {
  const IOF_Virtual_ReaderII<B>* reader = registry.Find(name);
  return reader != nullptr ? reader->CreateDefault() : nullptr;
}

// A Dword count, then that many records read by class name through `registry`, each result
// appended to `list` (a list of std::unique_ptr), nulls included. A count that the remaining
// bytes cannot hold fails the stream and reads nothing; reading stops once the stream has failed.
template <class Reader, class List>
void ReadListByName(DS_IOF_Archive& archive, const ClassRegistry<Reader>& registry, List& list) {
  constexpr uint64_t kMinRecordBytes = 8;  // an empty class name and a version
  uint32_t count = 0;
  archive.io().ReadDword(count);
  if (!archive.io().CountFits(count, kMinRecordBytes)) {
    return;
  }
  for (uint32_t i = 0; i < count && !archive.Failed(); ++i) {
    list.push_back(ReadByName(archive, registry));
  }
}

// The scene objects of a slide or a group, read by class name into a list of
// std::unique_ptr<DS_ABObj_Constructor>.
template <class List>
void ReadObjectList(DS_IOF_Archive& archive, List& list) {
  ReadListByName(archive, GetObjectRegistry(), list);
}

// A new default particle-engine part of the class named in UTF-8, or null when no class is
// registered under it. Invalid UTF-8 raises std::range_error.
std::unique_ptr<ZKW_IOF_Item> CreateIofItemByName(const char* utf8Name);
