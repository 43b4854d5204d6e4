#include "platform/res/pe_resource_reader.h"

#include <set>
#include <string>

namespace res {
namespace {

constexpr uint32_t kSubdirectoryBit = 0x80000000u;
constexpr size_t kMaxEntries = 1 << 16;
// Directory entries read in one walk. Directories may overlap, so a damaged tree of n bytes could
// otherwise make the walk read about n * n / 64 entries; a real tree reads a few per resource.
constexpr size_t kMaxEntriesRead = 4 * kMaxEntries;
// UTF-16 units of names read and kept in one walk. Every resource keeps its own copy of its type
// and name, so a few long names shared by many entries would otherwise ask for gigabytes; real
// names are short.
constexpr size_t kMaxNameUnits = size_t(1) << 24;

// Little-endian reads that fail instead of leaving the buffer.
class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> data) : data_(data) {}
  size_t size() const { return data_.size(); }
  bool Has(uint64_t offset, uint64_t count) const {
    return offset <= data_.size() && count <= data_.size() - offset;
  }
  bool U16(uint64_t offset, uint16_t& out) const {
    if (!Has(offset, 2)) return false;
    out = uint16_t(data_[offset] | data_[offset + 1] << 8);
    return true;
  }
  bool U32(uint64_t offset, uint32_t& out) const {
    if (!Has(offset, 4)) return false;
    out = uint32_t(data_[offset]) | uint32_t(data_[offset + 1]) << 8 |
          uint32_t(data_[offset + 2]) << 16 | uint32_t(data_[offset + 3]) << 24;
    return true;
  }

 private:
  std::span<const uint8_t> data_;
};

struct Section {
  uint32_t rva = 0;
  uint32_t virtualSize = 0;
  uint32_t rawSize = 0;
  uint32_t rawOffset = 0;
};

// Maps [rva, rva + size) to a file offset when one section's raw data holds all of it.
std::optional<size_t> MapRva(const std::vector<Section>& sections, const Bytes& file, uint32_t rva,
                             uint64_t size) {
  for (const Section& s : sections) {
    if (rva < s.rva) continue;
    const uint64_t delta = uint64_t(rva) - s.rva;
    const uint64_t span = std::max(s.virtualSize, s.rawSize);
    if (delta >= span) continue;
    if (delta + size > s.rawSize) return std::nullopt;
    const uint64_t offset = uint64_t(s.rawOffset) + delta;
    if (!file.Has(offset, size)) return std::nullopt;
    return size_t(offset);
  }
  return std::nullopt;
}

// The resource tree: offsets inside it are relative to its root.
class Tree {
 public:
  Tree(const Bytes& file, size_t root, const std::vector<Section>& sections)
      : file_(file), root_(root), sections_(sections) {}

  void Walk(std::vector<PeResource>& out) {
    ForEachEntry(0, [&](uint32_t typeName, uint32_t typeTarget) {
      if (!(typeTarget & kSubdirectoryBit)) return;
      const auto type = Name(typeName);
      if (!type) return;
      ForEachEntry(typeTarget & ~kSubdirectoryBit, [&](uint32_t nameName, uint32_t nameTarget) {
        if (!(nameTarget & kSubdirectoryBit)) return;
        const auto name = Name(nameName);
        if (!name) return;
        ForEachEntry(nameTarget & ~kSubdirectoryBit, [&](uint32_t lang, uint32_t dataEntry) {
          if ((dataEntry & kSubdirectoryBit) || (lang & kSubdirectoryBit)) return;
          if (out.size() >= kMaxEntries) return;
          uint32_t dataRva = 0, dataSize = 0;
          if (!file_.U32(root_ + uint64_t(dataEntry), dataRva) ||
              !file_.U32(root_ + uint64_t(dataEntry) + 4, dataSize))
            return;
          const auto offset = MapRva(sections_, file_, dataRva, dataSize);
          if (!offset || !TakeNameUnits(type->Name().size() + name->Name().size())) return;
          out.push_back({*type, *name, uint16_t(lang), *offset, dataSize});
        });
      });
    });
  }

 private:
  // Calls fn(name, target) for each entry of the directory at `dir`; each directory is read
  // once, so a tree that points back into itself ends.
  template <typename Fn>
  void ForEachEntry(uint32_t dir, Fn&& fn) {
    if (!visited_.insert(dir).second) return;
    const uint64_t at = root_ + uint64_t(dir);
    uint16_t named = 0, ids = 0;
    if (!file_.U16(at + 12, named) || !file_.U16(at + 14, ids)) return;
    const uint32_t count = uint32_t(named) + ids;
    for (uint32_t i = 0; i < count; ++i) {
      if (entriesRead_ == kMaxEntriesRead) return;
      ++entriesRead_;
      uint32_t name = 0, target = 0;
      if (!file_.U32(at + 16 + 8ull * i, name) || !file_.U32(at + 20 + 8ull * i, target)) return;
      fn(name, target);
    }
  }

  std::optional<ResName> Name(uint32_t field) {
    if (!(field & kSubdirectoryBit)) return ResName(uint16_t(field & 0xFFFF));
    const uint64_t at = root_ + uint64_t(field & ~kSubdirectoryBit);
    uint16_t length = 0;
    if (!file_.U16(at, length) || !file_.Has(at + 2, 2ull * length) || !TakeNameUnits(length))
      return std::nullopt;
    std::u16string text(length, u'\0');
    for (uint16_t i = 0; i < length; ++i) {
      uint16_t unit = 0;
      file_.U16(at + 2 + 2ull * i, unit);
      text[i] = char16_t(unit);
    }
    return ResName(std::u16string_view(text));
  }

  bool TakeNameUnits(size_t units) {
    if (units > nameUnitsLeft_) return false;
    nameUnitsLeft_ -= units;
    return true;
  }

  const Bytes& file_;
  size_t root_;
  const std::vector<Section>& sections_;
  std::set<uint32_t> visited_;
  size_t entriesRead_ = 0;
  size_t nameUnitsLeft_ = kMaxNameUnits;
};

}  // namespace

std::optional<std::vector<PeResource>> ReadPeResources(std::span<const uint8_t> image) {
  const Bytes file(image);
  uint16_t mz = 0;
  uint32_t peAt = 0, signature = 0;
  if (!file.U16(0, mz) || mz != 0x5A4D || !file.U32(0x3C, peAt)) return std::nullopt;
  if (!file.U32(peAt, signature) || signature != 0x00004550) return std::nullopt;

  const uint64_t coff = uint64_t(peAt) + 4;
  uint16_t sectionCount = 0, optionalSize = 0, magic = 0;
  if (!file.U16(coff + 2, sectionCount) || !file.U16(coff + 16, optionalSize)) return std::nullopt;
  const uint64_t optional = coff + 20;
  if (!file.U16(optional, magic)) return std::nullopt;
  uint64_t countAt = 0;
  if (magic == 0x10B) {
    countAt = 92;
  } else if (magic == 0x20B) {
    countAt = 108;
  } else {
    return std::nullopt;
  }
  std::vector<Section> sections;
  const uint64_t table = optional + optionalSize;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    Section s;
    const uint64_t at = table + 40ull * i;
    if (!file.U32(at + 8, s.virtualSize) || !file.U32(at + 12, s.rva) ||
        !file.U32(at + 16, s.rawSize) || !file.U32(at + 20, s.rawOffset))
      return std::nullopt;
    sections.push_back(s);
  }

  std::vector<PeResource> out;
  uint32_t dirCount = 0, resourceRva = 0, resourceSize = 0;
  const uint64_t dirs = countAt + 4;
  const uint64_t resourceDir = dirs + 2 * 8;
  if (!file.U32(optional + countAt, dirCount) || dirCount <= 2 || resourceDir + 8 > optionalSize)
    return out;
  if (!file.U32(optional + resourceDir, resourceRva) ||
      !file.U32(optional + resourceDir + 4, resourceSize) || resourceRva == 0)
    return out;
  const auto root = MapRva(sections, file, resourceRva, 16);
  if (!root) return out;
  Tree(file, *root, sections).Walk(out);
  return out;
}

}  // namespace res
