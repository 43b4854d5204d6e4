#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/res/resource_name.h"
#include "platform/res/resource_table.h"

namespace res {

// A set of resources to search by (type, name): the player's own, or those of a PE file read
// as data. A module never changes after it is made.
class Module {
 public:
  struct Entry {
    ResName type;
    ResName name;
    uint16_t language;
    std::span<const uint8_t> bytes;
  };

  // The resources of a compiled-in table; its string entries become string-table blocks.
  static std::unique_ptr<Module> FromTable(const ResourceTable& table);
  // The resources of a PE file's bytes; null when the bytes are not a PE file.
  static std::unique_ptr<Module> FromPeImage(std::vector<uint8_t> image);

  // The resource's bytes in language 1033, else in the first language stored; nothing when the
  // module has no such resource.
  std::optional<std::span<const uint8_t>> Find(const ResName& type, const ResName& name) const;
  // String-table entry `id` (stored in blocks of 16 under type 6); empty when absent.
  std::u16string LoadString(uint16_t id) const;

  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  Module() = default;

  std::vector<uint8_t> image_;
  std::vector<std::vector<uint8_t>> blocks_;
  std::vector<Entry> entries_;
};

// The player's own resources.
const Module& OwnModule();

// The resource search: a null module means the player's own.
[[nodiscard]] std::optional<std::span<const uint8_t>> FindResource(const Module* module,
                                                                   const ResName& type,
                                                                   const ResName& name);
std::u16string LoadString(const Module* module, uint16_t id);

}  // namespace res
