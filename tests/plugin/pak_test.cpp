// Real archives of the ue4 family: every entry of at least 256 stored bytes is found with the
// right codec, decoding what is reported (inflate, AES-256-ECB) gives back the input files, and
// nothing else is reported, with all three codecs enabled.

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fixtures.h"
#include "test_host.h"

namespace unreal_test {
namespace {

namespace fs = std::filesystem;

const fs::path kPakDir = fs::path(SCENE_TESTDATA_DIR) / "pak";

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  Bytes bytes(in ? static_cast<size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), std::ssize(bytes));
  return bytes;
}

Bytes Inflate(const uint8_t* data, int32_t stored, int32_t decoded) {
  Bytes out(static_cast<size_t>(decoded));
  uLongf out_length = out.size();
  uLong in_length = static_cast<uLong>(stored);
  const int rc = uncompress2(out.data(), &out_length, data, &in_length);
  EXPECT_EQ(rc, Z_OK);
  EXPECT_EQ(in_length, static_cast<uLong>(stored)) << "the stream is longer than reported";
  out.resize(out_length);
  return out;
}

// Decrypts the whole 16-byte blocks of data.
Bytes DecryptEcb(const Bytes& key, const uint8_t* data, int32_t size) {
  Bytes out(static_cast<size_t>(size / 16 * 16));
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      &EVP_CIPHER_CTX_free);
  int length = 0;
  EXPECT_EQ(EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_ecb(), nullptr, key.data(), nullptr), 1);
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  EXPECT_EQ(EVP_DecryptUpdate(ctx.get(), out.data(), &length, data, static_cast<int>(out.size())),
            1);
  EXPECT_EQ(static_cast<size_t>(length), out.size());
  return out;
}

size_t CompressedSize(const Bytes& file) {
  uLongf length = compressBound(file.size());
  Bytes out(length);
  EXPECT_EQ(compress(out.data(), &length, file.data(), file.size()), Z_OK);
  return length;
}

class PakArchives : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(kPakDir / "packs")) GTEST_SKIP() << "no test archives at " << kPakDir;
    for (const auto& entry : fs::recursive_directory_iterator(kPakDir / "root")) {
      if (entry.is_regular_file())
        files_[entry.path().lexically_relative(kPakDir / "root").string()] = ReadFile(entry.path());
    }
    std::ifstream hex(kPakDir / "aes-key.hex");
    std::string text;
    hex >> text;
    key_text_.assign(text.begin(), text.end());
    for (size_t i = 0; i + 1 < text.size(); i += 2)
      key_.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    ASSERT_EQ(key_.size(), 32u);
    ASSERT_EQ(files_.size(), 4u);
  }

  // The input file with exactly these bytes, or "" when none.
  std::string Match(const Bytes& bytes) const {
    for (const auto& [name, content] : files_) {
      if (content == bytes) return name;
    }
    return "";
  }

  std::string PrefixMatch(const Bytes& bytes, int32_t size) const {
    for (const auto& [name, content] : files_) {
      if (std::ssize(content) == size && std::equal(bytes.begin(), bytes.end(), content.begin()))
        return name;
    }
    return "";
  }

  std::map<std::string, Bytes> files_;
  std::u16string key_text_;
  Bytes key_;
};

TEST_F(PakArchives, EveryEntryFoundAndDecoded) {
  int archives = 0;
  for (const auto& entry : fs::directory_iterator(kPakDir / "packs")) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".pak") continue;
    ++archives;
    const bool compressed = name.find("_compress") != std::string::npos;
    const bool encrypted =
        name.find("_encrypt.") != std::string::npos || name.find("_encrypt_") != std::string::npos;
    PluginLibrary plugin;
    TestHost host;
    Command command = {{u"ue3"}, {u"ue4", {{u"", u"zlib"}}}, {u"ue5", {{u"k0x", u"00"}}}};
    if (encrypted) command[1].params.push_back({u"k0x", key_text_});
    ASSERT_EQ(host.Init(plugin, command), 1);
    const int32_t key_id = TestHost::kFirstResourceId;

    const Bytes pak = ReadFile(entry.path());
    GuardedBuffer input(pak);
    std::multiset<std::string> found;
    for (const Stream& s : Streams(host.Scan(plugin, input))) {
      SCOPED_TRACE(name + " at " + std::to_string(s.position));
      ASSERT_LE(s.position + s.stored, input.size());
      const uint8_t* bytes = input.data() + s.position;
      if (!encrypted) {
        ASSERT_EQ(s, MethodStream(u"zlib", s.position, s.stored, s.decoded));
        found.insert(Match(Inflate(bytes, s.stored, s.decoded)));
        continue;
      }
      ASSERT_EQ(s.codec, u"aes");
      ASSERT_EQ(s.log_codec, u"ue4");
      EXPECT_EQ(s.resource_id, key_id);
      const Bytes plain = DecryptEcb(key_, bytes, s.stored);
      if (!compressed) {
        EXPECT_TRUE(s.nested.empty());
        found.insert(PrefixMatch(plain, s.stored));
        continue;
      }
      ASSERT_FALSE(s.nested.empty());
      Bytes file;
      for (const Nested& n : s.nested) {
        EXPECT_EQ(n.codec, u"zlib");
        ASSERT_LE(n.offset + n.stored, std::ssize(plain));
        Append(file, Inflate(plain.data() + n.offset, n.stored, n.decoded));
      }
      found.insert(Match(file));
    }

    std::multiset<std::string> expected;
    for (const auto& [file, content] : files_) {
      size_t stored = compressed ? CompressedSize(content) : content.size();
      if (compressed && encrypted) stored = (stored + 15) / 16 * 16;
      // Stored entries that are not encrypted are never reported.
      if (stored >= 256 && (compressed || encrypted)) expected.insert(file);
    }
    EXPECT_EQ(found, expected) << name;
    const std::vector<Bytes> keys =
        encrypted ? std::vector<Bytes>{key_, {0x00}} : std::vector<Bytes>{{0x00}};
    EXPECT_EQ(host.resources, keys) << name;
  }
  EXPECT_EQ(archives, 32);
}

}  // namespace
}  // namespace unreal_test
