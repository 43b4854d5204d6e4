#include "platform/res/data_modules.h"

#include <map>
#include <memory>
#include <string>

#include "platform/sys/file_paths.h"

namespace res {

const Module* GetDataModule(std::u16string_view path) {
  static std::map<std::u16string, std::unique_ptr<Module>> modules;
  const std::u16string key(sys::FileNamePart(path));
  if (auto it = modules.find(key); it != modules.end()) return it->second.get();
  if (key.empty()) return nullptr;

  std::filesystem::path file = sys::ToPath(path);
  if (file.is_relative() && !sys::PathExists(file)) file = sys::ProgramDirectory() / file;
  auto bytes = sys::ReadWholeFile(file);
  if (!bytes) return nullptr;
  auto module = Module::FromPeImage(std::move(*bytes));
  if (!module) return nullptr;
  return modules.emplace(key, std::move(module)).first->second.get();
}

std::optional<std::vector<uint8_t>> LoadModuleResourceBytes(std::u16string_view module,
                                                            uint16_t id) {
  // An ordinary load of the module would read the same file the same way, so the data-file
  // searches are the whole lookup.
  const Module* data = GetDataModule(module);
  auto found = FindResource(data, u"DDS", id);
  if (!found) found = FindResource(data, kRtRcData, id);
  if (!found) return std::nullopt;
  return std::vector<uint8_t>(found->begin(), found->end());
}

}  // namespace res
