#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// A minimal PE32 file with one ".rsrc" section holding one resource (type 10, id 77, language
// 1033, the bytes "ABCD"), laid out so that tests can damage its fields at known offsets.
struct PeImageBuilder {
  static constexpr size_t kSectionFile = 0x200;  // file offset of the section's raw data
  static constexpr uint32_t kSectionRva = 0x1000;
  // Offsets inside the section.
  static constexpr size_t kRootDir = 0, kNameDir = 24, kLangDir = 48, kDataEntry = 72, kData = 88;
  static constexpr size_t kNameDirEntryTarget = kNameDir + 20;
  static constexpr size_t kDataEntryRva = kDataEntry;
  static constexpr size_t kSectionHeader = 0x58 + 0xE0;

  std::vector<uint8_t> bytes = std::vector<uint8_t>(0x400, 0);

  void Put16(size_t at, uint16_t v) { std::memcpy(&bytes[at], &v, 2); }
  void Put32(size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); }
  void Dir(size_t at, uint16_t ids, uint32_t name, uint32_t target) {
    Put16(kSectionFile + at + 14, ids);
    Put32(kSectionFile + at + 16, name);
    Put32(kSectionFile + at + 20, target);
  }

  // Makes the resource section `size` bytes long, in memory and in the file.
  void ResizeSection(size_t size) {
    bytes.resize(kSectionFile + size);
    Put32(kSectionHeader + 8, uint32_t(size));
    Put32(kSectionHeader + 16, uint32_t(size));
  }

  PeImageBuilder() {
    bytes[0] = 'M';
    bytes[1] = 'Z';
    Put32(0x3C, 0x40);
    std::memcpy(&bytes[0x40], "PE\0\0", 4);
    Put16(0x44, 0x14C);  // machine
    Put16(0x46, 1);      // sections
    Put16(0x54, 0xE0);   // optional header size
    Put16(0x58, 0x10B);  // PE32
    Put32(0x58 + 92, 16);
    Put32(0x58 + 96 + 16, kSectionRva);  // resource directory
    Put32(0x58 + 96 + 20, 92);
    const size_t section = kSectionHeader;
    std::memcpy(&bytes[section], ".rsrc", 5);
    Put32(section + 8, 92);
    Put32(section + 12, kSectionRva);
    Put32(section + 16, 0x200);
    Put32(section + 20, kSectionFile);

    Dir(kRootDir, 1, 10, 0x80000000u | kNameDir);
    Dir(kNameDir, 1, 77, 0x80000000u | kLangDir);
    Dir(kLangDir, 1, 1033, kDataEntry);
    Put32(kSectionFile + kDataEntry, kSectionRva + kData);
    Put32(kSectionFile + kDataEntry + 4, 4);
    std::memcpy(&bytes[kSectionFile + kData], "ABCD", 4);
  }
};
