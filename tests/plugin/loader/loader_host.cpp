// A small host that loads a build of the plug-in the way a precompressor does: it checks the
// library's exports, enables the codecs with keys, scans one archive and prints every call the
// plug-in makes. Built natively (libunreal.so) and for Windows (unreal.dll, run under wine64),
// so that the two builds can be compared call by call.
//   loader_host <library> <archive> <key hex file>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "plugin/unreal.h"

#if defined(_WIN32)
#include <windows.h>
// After windows.h, which it needs.
#include <wincrypt.h>
#else
#include <dlfcn.h>
#include <openssl/evp.h>
#endif

namespace {

const char* const kExports[] = {"PrecompCodec",   "PrecompFree",  "PrecompInit", "PrecompProcess",
                                "PrecompRestore", "PrecompScan1", "PrecompScan2"};

int failures = 0;

void Fail(const std::string& what) {
  std::fprintf(stderr, "loader_host: %s\n", what.c_str());
  ++failures;
}

std::string Narrow(const char16_t* text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text)
    out += *text < 0x80 ? static_cast<char>(*text) : '?';
  return out;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

#if defined(_WIN32)
std::string WindowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

void* OpenLibrary(const std::string& path) {
  return LoadLibraryA(WindowsPath(path).c_str());
}
void* Symbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

// The names in the loaded DLL's export directory.
std::vector<std::string> ExportedNames(void* library) {
  const auto* base = static_cast<const uint8_t*>(library);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::vector<std::string> names;
  if (dir.VirtualAddress == 0) return names;
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const auto* rvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    names.emplace_back(reinterpret_cast<const char*>(base + rvas[i]));
  }
  if (exports->NumberOfFunctions != exports->NumberOfNames) names.emplace_back("(unnamed export)");
  return names;
}

bool Sha1(const void* data, int32_t size, uint8_t* digest) {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  DWORD length = 20;
  bool ok = CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
            CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash) &&
            CryptHashData(hash, static_cast<const BYTE*>(data), static_cast<DWORD>(size), 0) &&
            CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0) && length == 20;
  if (hash != 0) CryptDestroyHash(hash);
  if (provider != 0) CryptReleaseContext(provider, 0);
  return ok;
}
#else
void* OpenLibrary(const std::string& path) {
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}
void* Symbol(void* library, const char* name) {
  return dlsym(library, name);
}
std::vector<std::string> ExportedNames(void*) {
  return std::vector<std::string>(std::begin(kExports), std::end(kExports));
}
bool Sha1(const void* data, int32_t size, uint8_t* digest) {
  unsigned length = 0;
  return EVP_Digest(data, static_cast<size_t>(size), digest, &length, EVP_sha1(), nullptr) == 1 &&
         length == 20;
}
#endif

// The host's side: the command, the function table and the callbacks.
struct Codec {
  std::u16string name;
  std::u16string main;
  std::u16string key;
};
std::vector<Codec> command;
std::vector<std::vector<uint8_t>> resources;
const uint8_t* input = nullptr;

void Write(char16_t* result, const std::u16string& text) {
  const size_t n = std::min<size_t>(text.size(), kHostTextUnits - 1);
  std::copy_n(text.data(), n, result);
  result[n] = 0;
}

void GetCodecName(char16_t* result, void*, int32_t position, void*) {
  Write(result, position >= 0 && position < static_cast<int32_t>(command.size())
                    ? command[static_cast<size_t>(position)].name
                    : u"");
}

void GetCodecParameter(char16_t* result, void*, int32_t position, const char16_t* name) {
  std::u16string value;
  if (position >= 0 && position < static_cast<int32_t>(command.size())) {
    const Codec& codec = command[static_cast<size_t>(position)];
    if (name[0] == 0) value = codec.main;
    if (std::u16string(name) == u"k0x") value = codec.key;
  }
  Write(result, value);
}

void RegisterNestedStream(int32_t instance, int64_t offset, int32_t stored, int32_t decoded,
                          const char16_t* codec, int32_t a, int32_t b) {
  std::printf("nested %d %lld %d %d %s %d %d\n", instance, static_cast<long long>(offset), stored,
              decoded, Narrow(codec).c_str(), a, b);
}

uint32_t HashBuffer(const char16_t* method, const void* data, int32_t size, void* digest,
                    int32_t digest_size) {
  if (Narrow(method) != "sha1" || digest_size != 20) Fail("unexpected hash request");
  std::printf("hash %lld %d\n", static_cast<long long>(static_cast<const uint8_t*>(data) - input),
              size);
  return Sha1(data, size, static_cast<uint8_t*>(digest)) ? 1 : 0;
}

void LogStream(const char16_t* codec, int64_t position, int32_t stored, int32_t decoded) {
  std::printf("log %s %lld %d %d\n", Narrow(codec).c_str(), static_cast<long long>(position),
              stored, decoded);
}

int32_t RegisterResource(const void* bytes, int32_t count) {
  const auto* begin = static_cast<const uint8_t*>(bytes);
  resources.emplace_back(begin, begin + count);
  return 500 + static_cast<int32_t>(resources.size());
}

void Unexpected() {
  Fail("the plug-in called a host entry it does not use");
}

void Output(int32_t instance, const uint8_t* bytes, int32_t count) {
  std::printf("output %d %lld %d\n", instance, static_cast<long long>(bytes - input), count);
}

void Add(int32_t instance, StreamInfo* info, const char16_t* codec, void* unused) {
  std::printf("add %d %lld %d %d %d %u %s %s\n", instance, static_cast<long long>(info->position),
              info->stored_size, info->decoded_size, info->resource_id,
              static_cast<unsigned>(info->reserved), Narrow(codec).c_str(),
              unused == nullptr ? "null" : "set");
}

std::u16string Widen(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: loader_host <library> <archive> <key hex file>\n");
    return 2;
  }
  void* library = OpenLibrary(argv[1]);
  if (library == nullptr) {
    std::fprintf(stderr, "loader_host: cannot load %s\n", argv[1]);
    return 1;
  }
  std::vector<std::string> names = ExportedNames(library);
  std::sort(names.begin(), names.end());
  if (names != std::vector<std::string>(std::begin(kExports), std::end(kExports))) {
    Fail("the export list is not exactly the seven functions");
  }
  for (const char* name : kExports) {
    if (Symbol(library, name) == nullptr) Fail(std::string("missing export ") + name);
  }
  if (failures != 0) return 1;
  auto init = reinterpret_cast<decltype(&PrecompInit)>(Symbol(library, "PrecompInit"));
  auto codec = reinterpret_cast<decltype(&PrecompCodec)>(Symbol(library, "PrecompCodec"));
  auto scan = reinterpret_cast<decltype(&PrecompScan1)>(Symbol(library, "PrecompScan1"));

  for (int32_t i = -1; i <= 3; ++i)
    std::printf("codec %d %s\n", i, codec(i) ? Narrow(codec(i)).c_str() : "(null)");

  std::ifstream key_file(argv[3]);
  std::string key;
  key_file >> key;
  command = {{u"UE3", u"", u""}, {u"ue4", u"x:zlib", Widen(key)}, {u"ue5", u"", u"0102"}};
  std::vector<void*> table(64, reinterpret_cast<void*>(&Unexpected));
  table[1] = reinterpret_cast<void*>(&GetCodecName);
  table[2] = reinterpret_cast<void*>(&GetCodecParameter);
  table[3] = reinterpret_cast<void*>(&RegisterNestedStream);
  table[8] = reinterpret_cast<void*>(&HashBuffer);
  table[33] = reinterpret_cast<void*>(&LogStream);
  table[42] = reinterpret_cast<void*>(&RegisterResource);
  auto* funcs = reinterpret_cast<PluginHostFuncs*>(table.data());
  std::printf("init %d\n", init(&command, nullptr, funcs));
  for (const auto& bytes : resources) {
    std::printf("resource");
    for (uint8_t b : bytes)
      std::printf(" %02x", b);
    std::printf("\n");
  }

  const std::vector<uint8_t> archive = ReadFile(argv[2]);
  if (archive.empty()) Fail(std::string("cannot read ") + argv[2]);
  input = archive.data();
  const auto size = static_cast<int64_t>(archive.size());
  std::printf("scan %d\n", scan(3, archive.data(), size, size, &Output, &Add, funcs));
  std::fflush(stdout);
  return failures == 0 ? 0 : 1;
}
