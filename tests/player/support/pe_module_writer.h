#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

// Writes resource-only PE32 files, such as a shared resource library with pictures of type
// "DDS" and effects of type RT_RCDATA (10), for the tests of the player's module lookups.
class PeModuleWriter {
 public:
  // A resource type or name: a string, or an integer id when the string is empty.
  struct Name {
    std::u16string text;
    uint16_t id = 0;
    friend bool operator<(const Name& a, const Name& b) {
      // Named entries come before id entries in a resource directory.
      if (a.text.empty() != b.text.empty()) return !a.text.empty();
      return a.text.empty() ? a.id < b.id : a.text < b.text;
    }
  };

  PeModuleWriter& Add(Name type, uint16_t id, std::vector<uint8_t> bytes) {
    resources_[type][id] = std::move(bytes);
    return *this;
  }
  PeModuleWriter& AddDds(uint16_t id, std::vector<uint8_t> bytes) {
    return Add(Name{u"DDS", 0}, id, std::move(bytes));
  }
  PeModuleWriter& AddRcData(uint16_t id, std::vector<uint8_t> bytes) {
    return Add(Name{u"", 10}, id, std::move(bytes));
  }

  std::vector<uint8_t> Build() const {
    // Section layout: directories, data entries, type names, then the data.
    size_t at = 16 + 8 * resources_.size();
    std::map<Name, size_t> nameDirs;
    std::map<std::pair<Name, uint16_t>, size_t> langDirs, dataEntries, data;
    for (const auto& [type, ids] : resources_) {
      nameDirs[type] = at;
      at += 16 + 8 * ids.size();
    }
    for (const auto& [type, ids] : resources_)
      for (const auto& [id, bytes] : ids) {
        langDirs[{type, id}] = at;
        at += 24;
      }
    for (const auto& [type, ids] : resources_)
      for (const auto& [id, bytes] : ids) {
        dataEntries[{type, id}] = at;
        at += 16;
      }
    std::map<Name, size_t> strings;
    for (const auto& [type, ids] : resources_)
      if (!type.text.empty()) {
        strings[type] = at;
        at += 2 + 2 * type.text.size();
      }
    for (const auto& [type, ids] : resources_)
      for (const auto& [id, bytes] : ids) {
        at = (at + 7) & ~size_t{7};
        data[{type, id}] = at;
        at += bytes.size();
      }
    const size_t sectionSize = at;
    const size_t rawSize = (sectionSize + 0x1FF) & ~size_t{0x1FF};

    std::vector<uint8_t> out(kSectionFile + rawSize, 0);
    WriteHeaders(out, sectionSize, rawSize);
    uint8_t* s = out.data() + kSectionFile;
    auto put16 = [&](size_t offset, uint16_t v) { std::memcpy(s + offset, &v, 2); };
    auto put32 = [&](size_t offset, uint32_t v) { std::memcpy(s + offset, &v, 4); };
    auto dir = [&](size_t offset, size_t named, size_t ids) {
      put16(offset + 12, uint16_t(named));
      put16(offset + 14, uint16_t(ids));
    };
    const size_t namedTypes = size_t(std::count_if(
        resources_.begin(), resources_.end(), [](const auto& t) { return !t.first.text.empty(); }));
    dir(0, namedTypes, resources_.size() - namedTypes);
    size_t entry = 16;
    for (const auto& [type, ids] : resources_) {
      put32(entry, type.text.empty() ? type.id : uint32_t(0x80000000u | strings[type]));
      put32(entry + 4, uint32_t(0x80000000u | nameDirs[type]));
      entry += 8;
      dir(nameDirs[type], 0, ids.size());
      size_t idEntry = nameDirs[type] + 16;
      for (const auto& [id, bytes] : ids) {
        const size_t lang = langDirs[{type, id}];
        put32(idEntry, id);
        put32(idEntry + 4, uint32_t(0x80000000u | lang));
        idEntry += 8;
        dir(lang, 0, 1);
        put32(lang + 16, 1033);
        put32(lang + 20, uint32_t(dataEntries[{type, id}]));
        put32(dataEntries[{type, id}], uint32_t(kSectionRva + data[{type, id}]));
        put32(dataEntries[{type, id}] + 4, uint32_t(bytes.size()));
        if (!bytes.empty()) std::memcpy(s + data[{type, id}], bytes.data(), bytes.size());
      }
      if (!type.text.empty()) {
        put16(strings[type], uint16_t(type.text.size()));
        for (size_t i = 0; i < type.text.size(); ++i)
          put16(strings[type] + 2 + 2 * i, uint16_t(type.text[i]));
      }
    }
    return out;
  }

  void WriteTo(const std::filesystem::path& path) const {
    const std::vector<uint8_t> bytes = Build();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }

 private:
  static constexpr size_t kSectionFile = 0x200;
  static constexpr uint32_t kSectionRva = 0x1000;

  static void WriteHeaders(std::vector<uint8_t>& out, size_t sectionSize, size_t rawSize) {
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&out[at], &v, 2); };
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&out[at], &v, 4); };
    out[0] = 'M';
    out[1] = 'Z';
    put32(0x3C, 0x40);
    std::memcpy(&out[0x40], "PE\0\0", 4);
    put16(0x44, 0x14C);  // machine
    put16(0x46, 1);      // sections
    put16(0x54, 0xE0);   // optional header size
    put16(0x58, 0x10B);  // PE32
    put32(0x58 + 92, 16);
    put32(0x58 + 96 + 16, kSectionRva);  // resource directory
    put32(0x58 + 96 + 20, uint32_t(sectionSize));
    const size_t section = 0x58 + 0xE0;
    std::memcpy(&out[section], ".rsrc", 5);
    put32(section + 8, uint32_t(sectionSize));
    put32(section + 12, kSectionRva);
    put32(section + 16, uint32_t(rawSize));
    put32(section + 20, kSectionFile);
  }

  std::map<Name, std::map<uint16_t, std::vector<uint8_t>>> resources_;
};
