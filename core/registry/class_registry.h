#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/zkw_string.h"

// One family's registry: class name to reader object (not owned; readers live for the whole
// process). Names compare as UTF-16 unit sequences, so lookups are exact and case-sensitive.
// A registry is filled once at start-up and sealed; after that it only answers lookups.
template <class Reader>
class ClassRegistry {
 public:
  using ReaderType = Reader;

  // Enters `reader` under `name`. Entering the same reader under the same name again changes
  // nothing. Throws std::logic_error when the registry is sealed or when the name already names
  // another reader: both are mistakes in a class list.
  void Add(std::u16string_view name, const Reader& reader) {
    if (sealed_) throw std::logic_error("class registry is sealed: " + ToUtf8(name));
    auto [it, inserted] = entries_.try_emplace(zkw_string(name), &reader);
    if (!inserted && it->second != &reader) {
      throw std::logic_error("class registered twice: " + ToUtf8(name));
    }
  }

  // Enters the reader of `existing` under a second name as well.
  void AddAlias(std::u16string_view alias, std::u16string_view existing) {
    const Reader* reader = Find(existing);
    if (reader == nullptr)
      throw std::logic_error("alias of an unregistered class: " + ToUtf8(existing));
    Add(alias, *reader);
  }

  // The reader entered under exactly `name`, or null.
  const Reader* Find(std::u16string_view name) const {
    auto it = entries_.find(name);
    return it != entries_.end() ? it->second : nullptr;
  }

  size_t Size() const { return entries_.size(); }
  bool Sealed() const { return sealed_; }
  void Seal() { sealed_ = true; }

 private:
  std::map<zkw_string, const Reader*, std::less<>> entries_;
  bool sealed_ = false;
};
