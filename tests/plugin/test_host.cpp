#include "test_host.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace unreal_test {

namespace {

thread_local TestHost* current_host = nullptr;
constexpr int kTableEntries = 64;

TestHost& Host() {
  if (current_host == nullptr) {
    ADD_FAILURE() << "host call without a host";
    std::abort();
  }
  return *current_host;
}

// A text and its terminating zero, cut to fit the plug-in's limit unless the host writes texts
// whole.
void WriteText(char16_t* result, const std::u16string& text) {
  const size_t length =
      Host().whole_texts ? text.size() : std::min<size_t>(text.size(), kHostTextUnits - 1);
  std::copy_n(text.data(), length, result);
  result[length] = 0;
}

const CodecCommand* CodecAt(void* command, int32_t position) {
  auto* codecs = static_cast<Command*>(command);
  if (position < 0 || position >= static_cast<int32_t>(codecs->size())) return nullptr;
  return &(*codecs)[static_cast<size_t>(position)];
}

}  // namespace

struct HostEntries {
  template <int N>
  static void Unexpected() {
    Host().unexpected_entries.push_back(N);
  }

  static void GetCodecName(char16_t* result, void* command, int32_t position, void* unused) {
    TestHost& host = Host();
    ++host.codec_name_requests;
    EXPECT_EQ(unused, nullptr);
    EXPECT_EQ(command, &host.command);
    if (host.endless_codec_names) return WriteText(result, u"unknown");
    const CodecCommand* codec = CodecAt(command, position);
    WriteText(result, codec ? codec->name : u"");
  }

  static void GetCodecParameter(char16_t* result, void* command, int32_t position,
                                const char16_t* name) {
    EXPECT_EQ(command, &Host().command);
    const CodecCommand* codec = CodecAt(command, position);
    std::u16string value;
    if (codec != nullptr) {
      for (const auto& [key, text] : codec->params) {
        if (key == name) value = text;
      }
    }
    WriteText(result, value);
  }

  static void RegisterNestedStream(int32_t instance, int64_t offset, int32_t stored,
                                   int32_t decoded, const char16_t* codec, int32_t zero1,
                                   int32_t zero2) {
    Host().events_.push_back({Event::Kind::kNested, instance, codec, offset, stored, decoded, 0, 0,
                              zero1 == 0 && zero2 == 0});
  }

  static uint32_t HashBuffer(const char16_t* method, const void* data, int32_t size, void* digest,
                             int32_t digest_size) {
    TestHost& host = Host();
    ++host.hash_calls;
    EXPECT_EQ(std::u16string(method), u"sha1");
    EXPECT_EQ(digest_size, 20);
    const auto* bytes = static_cast<const uint8_t*>(data);
    EXPECT_GE(bytes, host.input_);
    EXPECT_LE(bytes + size, host.input_ + host.available_);
    host.events_.push_back({Event::Kind::kHash, 0, method, bytes - host.input_, size});
    if (host.hash_fails) return TestHost::kHashFalse;
    unsigned length = 0;
    EXPECT_EQ(EVP_Digest(data, static_cast<size_t>(size), static_cast<unsigned char*>(digest),
                         &length, EVP_sha1(), nullptr),
              1);
    return TestHost::kHashTrue;
  }

  static void LogStream(const char16_t* codec, int64_t position, int32_t stored, int32_t decoded) {
    Host().events_.push_back({Event::Kind::kLog, 0, codec, position, stored, decoded});
  }

  static int32_t RegisterResource(const void* bytes, int32_t count) {
    TestHost& host = Host();
    const auto* begin = static_cast<const uint8_t*>(bytes);
    host.resources.emplace_back(begin, begin + count);
    return TestHost::kFirstResourceId + static_cast<int32_t>(host.resources.size()) - 1;
  }

  static void Output(int32_t instance, const uint8_t* bytes, int32_t count) {
    TestHost& host = Host();
    EXPECT_GE(bytes, host.input_);
    EXPECT_LE(bytes + count, host.input_ + host.available_);
    host.events_.push_back({Event::Kind::kOutput, instance, u"", bytes - host.input_, count});
  }

  static void Add(int32_t instance, StreamInfo* info, const char16_t* codec, void* unused) {
    Host().events_.push_back({Event::Kind::kAdd, instance, codec, info->position, info->stored_size,
                              info->decoded_size, info->resource_id, info->reserved,
                              unused == nullptr});
  }

  template <int... N>
  static void FillUnexpected(std::vector<void*>& table, std::integer_sequence<int, N...>) {
    ((table[N] = reinterpret_cast<void*>(&Unexpected<N>)), ...);
  }
};

TestHost::TestHost() : table_(kTableEntries), previous_(current_host) {
  HostEntries::FillUnexpected(table_, std::make_integer_sequence<int, kTableEntries>());
  table_[1] = reinterpret_cast<void*>(&HostEntries::GetCodecName);
  table_[2] = reinterpret_cast<void*>(&HostEntries::GetCodecParameter);
  table_[3] = reinterpret_cast<void*>(&HostEntries::RegisterNestedStream);
  table_[8] = reinterpret_cast<void*>(&HostEntries::HashBuffer);
  table_[33] = reinterpret_cast<void*>(&HostEntries::LogStream);
  table_[42] = reinterpret_cast<void*>(&HostEntries::RegisterResource);
  current_host = this;
}

TestHost::~TestHost() {
  EXPECT_TRUE(unexpected_entries.empty()) << "the plug-in called host entries it should not";
  current_host = previous_;
}

int32_t TestHost::Init(PluginLibrary& plugin, Command new_command) {
  command = std::move(new_command);
  return plugin.Init(&command, reinterpret_cast<void*>(0x5EED), funcs());
}

std::vector<Event> TestHost::Scan(PluginLibrary& plugin, const GuardedBuffer& input, int64_t size,
                                  int32_t instance) {
  events_.clear();
  input_ = input.data();
  available_ = input.size();
  const PrecompBool result = plugin.Scan1(instance, input.data(), size, input.size(),
                                          &HostEntries::Output, &HostEntries::Add, funcs());
  EXPECT_EQ(result, 0);
  return std::exchange(events_, {});
}

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

void PrintTo(const Event& event, std::ostream* out) {
  static const char* const kNames[] = {"output", "log", "add", "nested", "hash"};
  *out << kNames[static_cast<int>(event.kind)] << "(" << event.instance << ", \""
       << Narrow(event.codec) << "\", " << event.position << ", " << event.stored << ", "
       << event.decoded << ", id " << event.resource_id << ")";
}

void PrintTo(const Stream& stream, std::ostream* out) {
  *out << "\"" << Narrow(stream.codec) << "\" (log \"" << Narrow(stream.log_codec) << "\") at "
       << stream.position << " stored " << stream.stored << " decoded " << stream.decoded << " id "
       << stream.resource_id;
  for (const Nested& n : stream.nested) {
    *out << " [nested \"" << Narrow(n.codec) << "\" +" << n.offset << " " << n.stored << "/"
         << n.decoded << "]";
  }
}

Stream Ue3Stream(const std::u16string& codec, int64_t position, int32_t stored, int32_t decoded) {
  return {codec, u"ue3", position, stored, decoded, -1};
}

Stream MethodStream(const std::u16string& method, int64_t position, int32_t stored,
                    int32_t decoded) {
  return {method, method, position, stored, decoded, -1};
}

Stream AesStream(const std::u16string& log_codec, int64_t position, int32_t size,
                 int32_t resource_id, std::vector<Nested> nested) {
  return {u"aes", log_codec, position, size, size, resource_id, std::move(nested)};
}

std::vector<Stream> Streams(const std::vector<Event>& events, int32_t instance) {
  std::vector<Stream> streams;
  for (size_t i = 0; i < events.size(); ++i) {
    const Event& e = events[i];
    if (e.kind == Event::Kind::kHash) continue;
    if (e.kind == Event::Kind::kNested) {
      EXPECT_TRUE(!streams.empty() && streams.back().codec == u"aes")
          << "nested stream without an aes stream before it";
      EXPECT_EQ(e.instance, instance);
      EXPECT_TRUE(e.extra_args_zero);
      if (!streams.empty())
        streams.back().nested.push_back({e.position, e.stored, e.decoded, e.codec});
      continue;
    }
    const Event* output = nullptr;
    if (e.kind == Event::Kind::kOutput) {
      output = &e;
      ++i;
    }
    if (i + 1 >= events.size() || events[i].kind != Event::Kind::kLog ||
        events[i + 1].kind != Event::Kind::kAdd) {
      ADD_FAILURE() << "calls out of order at call " << i;
      return streams;
    }
    const Event& log = events[i];
    const Event& add = events[++i];
    EXPECT_EQ(add.instance, instance);
    EXPECT_EQ(add.reserved, 0);
    EXPECT_TRUE(add.extra_args_zero);
    EXPECT_EQ(log.position, add.position);
    EXPECT_EQ(log.stored, add.stored);
    EXPECT_EQ(log.decoded, add.decoded);
    const bool aes = add.codec == u"aes";
    EXPECT_EQ(aes, output != nullptr) << "output callback must come exactly before aes reports";
    if (output != nullptr) {
      EXPECT_EQ(output->instance, instance);
      EXPECT_EQ(output->position, add.position);
      EXPECT_EQ(output->stored, add.stored);
    }
    if (!aes) EXPECT_EQ(add.resource_id, -1);
    streams.push_back(
        {add.codec, log.codec, add.position, add.stored, add.decoded, add.resource_id});
  }
  return streams;
}

}  // namespace unreal_test
