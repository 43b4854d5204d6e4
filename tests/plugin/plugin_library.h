#pragma once

#include "plugin/unreal.h"

namespace unreal_test {

// A freshly loaded copy of libunreal.so, so that every test starts from the library's load-time
// state (PrecompInit keeps keys across calls). The copy is made from the built library.
class PluginLibrary {
 public:
  PluginLibrary();
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  decltype(&PrecompInit) Init = nullptr;
  decltype(&PrecompFree) Free = nullptr;
  decltype(&PrecompCodec) Codec = nullptr;
  decltype(&PrecompScan1) Scan1 = nullptr;
  decltype(&PrecompScan2) Scan2 = nullptr;
  decltype(&PrecompProcess) Process = nullptr;
  decltype(&PrecompRestore) Restore = nullptr;

 private:
  void* handle_ = nullptr;
};

}  // namespace unreal_test
