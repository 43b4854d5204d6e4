#include "platform/res/resource_module.h"

#include <array>
#include <map>
#include <utility>

#include "core/zkw_string.h"
#include "platform/res/pe_resource_reader.h"

namespace res {
namespace {

constexpr size_t kStringsPerBlock = 16;

void AppendUnit(std::vector<uint8_t>& out, char16_t u) {
  out.push_back(uint8_t(u & 0xFF));
  out.push_back(uint8_t(u >> 8));
}

}  // namespace

std::unique_ptr<Module> Module::FromTable(const ResourceTable& table) {
  std::unique_ptr<Module> module(new Module);
  for (size_t i = 0; i < table.resourceCount; ++i) {
    const TableResource& r = table.resources[i];
    ResName type = r.typeName ? ResName(r.typeName) : ResName(r.typeId);
    module->entries_.push_back({std::move(type), ResName(r.id), r.language,
                                std::span<const uint8_t>(r.begin, size_t(r.end - r.begin))});
  }
  // Strings go into blocks of 16 counted strings, block n + 1 holding ids 16n to 16n + 15.
  std::map<std::pair<uint16_t, uint16_t>, std::array<std::u16string, kStringsPerBlock>> blocks;
  for (size_t i = 0; i < table.stringCount; ++i) {
    const TableString& s = table.strings[i];
    blocks[{uint16_t(s.id / kStringsPerBlock + 1), s.language}][s.id % kStringsPerBlock] =
        FromUtf8(s.text);
  }
  for (const auto& [key, strings] : blocks) {
    std::vector<uint8_t> block;
    for (const std::u16string& text : strings) {
      AppendUnit(block, char16_t(text.size()));
      for (char16_t u : text)
        AppendUnit(block, u);
    }
    module->blocks_.push_back(std::move(block));
  }
  size_t b = 0;
  for (const auto& entry : blocks)
    module->entries_.push_back(
        {ResName(kRtString), ResName(entry.first.first), entry.first.second, module->blocks_[b++]});
  return module;
}

std::unique_ptr<Module> Module::FromPeImage(std::vector<uint8_t> image) {
  auto found = ReadPeResources(image);
  if (!found) return nullptr;
  std::unique_ptr<Module> module(new Module);
  module->image_ = std::move(image);
  for (PeResource& r : *found)
    module->entries_.push_back(
        {std::move(r.type), std::move(r.name), r.language,
         std::span<const uint8_t>(module->image_).subspan(r.offset, r.size)});
  return module;
}

std::optional<std::span<const uint8_t>> Module::Find(const ResName& type,
                                                     const ResName& name) const {
  const Entry* first = nullptr;
  for (const Entry& e : entries_) {
    if (!(e.type == type) || !(e.name == name)) continue;
    if (e.language == kPreferredLanguage) return e.bytes;
    if (!first) first = &e;
  }
  if (!first) return std::nullopt;
  return first->bytes;
}

std::u16string Module::LoadString(uint16_t id) const {
  const auto block = Find(ResName(kRtString), ResName(uint16_t(id / kStringsPerBlock + 1)));
  if (!block) return {};
  size_t at = 0;
  for (size_t index = 0;; ++index) {
    if (at + 2 > block->size()) return {};
    const size_t length = size_t((*block)[at] | (*block)[at + 1] << 8);
    at += 2;
    if (at + 2 * length > block->size()) return {};
    if (index == id % kStringsPerBlock) {
      std::u16string text(length, u'\0');
      for (size_t i = 0; i < length; ++i)
        text[i] = char16_t((*block)[at + 2 * i] | (*block)[at + 2 * i + 1] << 8);
      return text;
    }
    at += 2 * length;
  }
}

const Module& OwnModule() {
  static const std::unique_ptr<Module> own = Module::FromTable(OwnResourceTable());
  return *own;
}

std::optional<std::span<const uint8_t>> FindResource(const Module* module, const ResName& type,
                                                     const ResName& name) {
  return (module ? *module : OwnModule()).Find(type, name);
}

std::u16string LoadString(const Module* module, uint16_t id) {
  return (module ? *module : OwnModule()).LoadString(id);
}

}  // namespace res
