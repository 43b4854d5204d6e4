// The stored body of the document and the save-side registration that fills it.
#include "player/document/doc_res_manager.h"

#include <optional>

#include "player/device/device_values.h"
#include "player/resources/picture_decode_ahead.h"
#include "player/resources/picture_textures.h"

namespace {

// The smallest stored entries, used to check a section's count against the bytes that remain:
// an empty name (4 bytes), the Int64 id and a Dword count; a GUID entry's empty text and name,
// its flag and an empty file record.
constexpr uint64_t kMinLinkEntry = 16;
constexpr uint64_t kMinGuidEntry = 17;

// Reads a section's entry count; a count the remaining bytes cannot hold fails the stream.
uint32_t ReadSectionCount(DS_IOF_Virtual& io, uint64_t minEntry) {
  uint32_t count = 0;
  io.ReadDword(count);
  if (!io.CountFits(count, minEntry)) {
    return 0;
  }
  return count;
}

LinkKey ReadKey(DS_IOF_Virtual& io) {
  LinkKey key;
  io.ReadWideString(key.name);
  io.ReadInt64(key.id);
  return key;
}

void WriteKey(DS_IOF_Virtual& io, const LinkKey& key) {
  io.WriteWideString(key.name);
  io.WriteInt64(key.id);
}

// Sections 1 and 3: per entry the key and a list of resource records.
void ReadRecordSection(DS_IOF_Archive& archive, LinkTable<std::vector<ResourceDataRecord>>& table) {
  DS_IOF_Virtual& io = archive.io();
  const uint32_t count = ReadSectionCount(io, kMinLinkEntry);
  for (uint32_t i = 0; i < count && !io.Failed(); ++i) {
    LinkKey key = ReadKey(io);
    std::vector<ResourceDataRecord> records;
    archive.ReadResourceRecordList(records);
    if (!io.Failed()) table.emplace(std::move(key), std::move(records));
  }
}

void WriteRecordSection(DS_IOF_Virtual& io,
                        const LinkTable<std::vector<ResourceDataRecord>>& table) {
  io.WriteDword(static_cast<uint32_t>(table.size()));
  for (const auto& [key, records] : table) {
    WriteKey(io, key);
    io.WriteDword(static_cast<uint32_t>(records.size()));
    for (const ResourceDataRecord& record : records)
      io.WriteResourceRecord(record);
  }
}

// Section 2: per entry the key and a list of frame delays.
void ReadDelaySection(DS_IOF_Virtual& io, LinkTable<std::vector<float>>& table) {
  const uint32_t count = ReadSectionCount(io, kMinLinkEntry);
  for (uint32_t i = 0; i < count && !io.Failed(); ++i) {
    LinkKey key = ReadKey(io);
    uint32_t n = 0;
    io.ReadDword(n);
    if (!io.CountFits(n, sizeof(float))) {
      return;
    }
    std::vector<float> delays(n);
    for (float& delay : delays)
      io.ReadFloat(delay);
    if (!io.Failed()) table.emplace(std::move(key), std::move(delays));
  }
}

}  // namespace

void ZKW_DocResManagerTmp::WriteFrameTables(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(static_cast<uint32_t>(framesToSave.size()));
  for (const auto& [key, frames] : framesToSave) {
    WriteKey(io, key);
    WriteFrameList(archive, frames);
  }
  framesToSave.clear();
}

void ZKW_DocResManagerTmp::ReadFrameTables(DS_IOF_Archive& archive) {
  DS_IOF_Virtual& io = archive.io();
  const uint32_t count = ReadSectionCount(io, kMinLinkEntry);
  for (uint32_t i = 0; i < count && !io.Failed(); ++i) {
    LinkKey key = ReadKey(io);
    std::vector<PictureFrame> frames;
    ReadFrameList(archive, frames);
    if (!io.Failed()) framesToSave.emplace(std::move(key), std::move(frames));
  }
  // GUID pictures read before keep their single frame.
  for (auto& [key, frames] : framesToSave)
    framesByLink.emplace(key, std::move(frames));
  framesToSave.clear();
}

bool DS_DocResManager::WriteRecord(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_DocResManager", kVersion);
  return WriteTables(archive);
}

bool DS_DocResManager::WriteTables(DS_IOF_Archive& archive) const {
  DS_IOF_Virtual& io = archive.io();
  WriteRecordSection(io, imageRecordTable);
  io.WriteDword(static_cast<uint32_t>(frameDelayTable.size()));
  for (const auto& [key, delays] : frameDelayTable) {
    WriteKey(io, key);
    io.WriteDword(static_cast<uint32_t>(delays.size()));
    for (float delay : delays)
      io.WriteFloat(delay);
  }
  WriteRecordSection(io, linkRecordTable);
  io.WriteDword(static_cast<uint32_t>(guidPictureTable.size()));
  for (const auto& [key, picture] : guidPictureTable) {
    archive.WriteGuid(key.guid);
    io.WriteWideString(key.name);
    io.WriteBool(key.flag != 0);
    io.WriteFileData(picture);
  }
  WriteFrameTables(archive);
  ClearStaging();
  return true;
}

bool DS_DocResManager::Read(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  const int sections = version == 1 ? 2 : version == 2 ? 3 : version == 3 ? 4 : 5;

  ReadRecordSection(archive, imageRecordTable);
  ReadDelaySection(io, frameDelayTable);
  // The stored pictures the loop below makes textures of, decoded ahead on worker threads
  // until the loop ends (without a device it makes none).
  std::vector<std::span<const uint8_t>> stored;
  for (const auto& [key, records] : imageRecordTable)
    for (const ResourceDataRecord& record : records)
      if (CurrentDevice() != nullptr && !record.path.empty() && !record.bytes.empty())
        stored.emplace_back(record.bytes);
  std::optional<PictureDecodeAhead> ahead(std::in_place, std::move(stored));
  for (const auto& [key, records] : imageRecordTable) {
    ImageTextureSet& set = imageTextureSets[key];
    resourceRecords[key] = records;
    set.textures.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
      TextureRef made = Cache().GetLinkTexture(records[i]);
      set.textures[i] = made.texture;
      set.width = made.width;
      set.height = made.height;
      set.aspect = made.aspect;
    }
    // A single picture has no frame times, whatever section 2 holds.
    if (records.size() > 1) {
      auto delays = frameDelayTable.find(key);
      set.delays = delays != frameDelayTable.end() ? delays->second : std::vector<float>();
    }
  }
  ahead.reset();
  imageRecordTable.clear();

  if (sections >= 3) {
    ReadRecordSection(archive, linkRecordTable);
    for (const auto& [key, records] : linkRecordTable)
      resourceRecords.emplace(key, records);
  }

  if (sections >= 4) {
    const uint32_t count = ReadSectionCount(io, kMinGuidEntry);
    for (uint32_t i = 0; i < count && !io.Failed(); ++i) {
      GuidPictureKey key;
      bool flag = false;
      FileDataRecord picture;
      archive.ReadGuid(key.guid);
      io.ReadWideString(key.name);
      io.ReadBool(flag);
      io.ReadFileData(picture);
      key.flag = flag ? 1 : 0;
      if (!io.Failed()) guidPictureTable.emplace(std::move(key), std::move(picture));
    }
    for (const auto& [key, picture] : guidPictureTable) {
      guidTextures[key] = CreateTextureFromBytes(picture.bytes).texture;
      framesByLink[GuidLinkKey(key.guid)] = {
          PictureFrame{SharedBytes::CopyOf(picture.bytes), 0.0f, {}}};
    }
  }

  if (sections >= 5) ReadFrameTables(archive);
  ClearStaging();
  return true;
}

void DS_DocResManager::ClearStaging() const {
  imageRecordTable.clear();
  frameDelayTable.clear();
  linkRecordTable.clear();
  guidPictureTable.clear();
}

bool DS_DocResManager::RegisterSavedLink(const DS_FileLink3& link) {
  if (link.name.empty()) return true;
  const LinkKey key = link.Key();
  if (auto built = linkTextureSets.find(key); built != linkTextureSets.end()) {
    frameDelayTable[key] = built->second.delays;
    framesToSave[key] = framesByLink[key];
  } else {
    const ImageTextureSet& set = imageTextureSets[key];
    if (!set.delays.empty()) frameDelayTable[key] = set.delays;
    imageRecordTable[key] = resourceRecords[key];
  }
  return true;
}

void DS_DocResManager::StageLinkRecords(const LinkKey& key) {
  linkRecordTable[key] = resourceRecords[key];
}
