// Reads texture sources from arbitrary bytes the way particle objects do, through
// ReadAlerterTextureSRC: the first byte picks the class of the first record, whose header is
// written here so that the bytes reach the kind's body; the records that follow are read whole,
// class names included. Each source read is cloned, and the clone and a re-read copy must write
// the same bytes as the source; the alerter's clock is advanced by steps from the data. No device
// is needed. Any over-read, undefined behaviour, leak or mismatch fails.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/registry/core_class_list.h"
#include "player/resources/texture_source_class_list.h"
#include "player/resources/zkw_alerter_texture_src.h"

namespace {

constexpr const char16_t* kClasses[] = {u"ZKW_ResIDTex",   u"ZKW_ImgFileTex", u"ZKW_SoftCircleTex",
                                        u"ZKW_TextTexure", u"ZKW_PolygonTex", u"ZKW_TextureSRC"};

// At most this many records per input, so that one input stays quick.
constexpr int kMaxRecords = 64;

std::vector<uint8_t> Saved(const ZKW_TextureSRC& source) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  source.Save(archive);
  return w.TakeBytes();
}

// An exactly sized heap copy of the bytes, read through the player's stream.
class Source {
 public:
  explicit Source(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    bytes_.shrink_to_fit();
    buffer_.SetMemory(bytes_.data(), bytes_.size());
    archive_ =
        std::make_unique<DS_IOF_Archive>(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer_));
  }
  DS_IOF_Archive& archive() { return *archive_; }
  uint64_t Remaining() const { return buffer_.Remaining(); }

 private:
  std::vector<uint8_t> bytes_;
  ResourceBuffer buffer_;
  std::unique_ptr<DS_IOF_Archive> archive_;
};

void CheckCopies(const ZKW_TextureSRC& source) {
  const std::vector<uint8_t> bytes = Saved(source);
  if (Saved(*source.Clone()) != bytes) __builtin_trap();
  Source again(bytes);
  const std::unique_ptr<ZKW_TextureSRC> reread = ReadTextureSrc(again.archive());
  if (reread == nullptr || again.archive().Failed() || again.Remaining() != 0) __builtin_trap();
  if (Saved(*reread) != bytes) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered =
      (RegisterClasses({RegisterCoreClasses, RegisterTextureSourceClasses}), true);
  (void)registered;
  if (size == 0) return 0;

  std::vector<uint8_t> bytes;
  {
    auto writer = std::make_unique<DS_IOF_W>();
    DS_IOF_W& w = *writer;
    DS_IOF_Archive header(std::move(writer));
    WriteRecordHeader(header, kClasses[data[0] % std::size(kClasses)], 1);
    bytes = w.TakeBytes();
  }
  bytes.insert(bytes.end(), data + 1, data + size);
  Source input(std::move(bytes));
  DS_IOF_Archive& archive = input.archive();

  ZKW_AlerterTextureSRC alerter;
  for (int i = 0; i < kMaxRecords && !archive.Failed() && input.Remaining() > 0; ++i) {
    ReadAlerterTextureSRC(archive, alerter);
    if (const ZKW_TextureSRC* source = alerter.Source()) CheckCopies(*source);
    ZKW_AlerterTextureSRC copy(alerter);
    copy.frameSets.resize(1);
    copy.frameSets[0].delays = {0.1f, 0.0f, 0.3f};
    float dt = 0.0f;
    archive.io().ReadFloat(dt);
    copy.Advance(dt);
    copy.LoadFrames(0);
    copy.MarkTextures();
  }
  return 0;
}
