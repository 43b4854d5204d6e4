#include "plugin_library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace unreal_test {

namespace {

template <typename Fn>
void Resolve(void* handle, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(dlsym(handle, name));
  if (fn == nullptr) ADD_FAILURE() << "export missing: " << name;
}

}  // namespace

PluginLibrary::PluginLibrary() {
  // dlopen hands out the already loaded library for the same file, so each load gets its own
  // copy; it is unlinked once mapped.
  std::ifstream in(UNREAL_LIBRARY_PATH, std::ios::binary | std::ios::ate);
  std::vector<char> bytes(in ? static_cast<size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(bytes.data(), std::ssize(bytes));
  if (bytes.empty()) {
    ADD_FAILURE() << "cannot read " << UNREAL_LIBRARY_PATH;
    return;
  }
  std::string path = (std::filesystem::temp_directory_path() / "unreal-test-XXXXXX").string();
  const int fd = mkstemp(path.data());
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    ADD_FAILURE() << "cannot copy the library to " << path;
    if (fd >= 0) close(fd);
    return;
  }
  close(fd);
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  unlink(path.c_str());
  if (handle_ == nullptr) {
    ADD_FAILURE() << "dlopen: " << dlerror();
    return;
  }
  Resolve(handle_, "PrecompInit", Init);
  Resolve(handle_, "PrecompFree", Free);
  Resolve(handle_, "PrecompCodec", Codec);
  Resolve(handle_, "PrecompScan1", Scan1);
  Resolve(handle_, "PrecompScan2", Scan2);
  Resolve(handle_, "PrecompProcess", Process);
  Resolve(handle_, "PrecompRestore", Restore);
}

PluginLibrary::~PluginLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

}  // namespace unreal_test
