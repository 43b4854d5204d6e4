#include "reference_scanner.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "fixtures.h"

namespace unreal_test {

namespace {

class Reference {
 public:
  Reference(const ReferenceConfig& config, const uint8_t* data, int64_t size, int64_t available,
            int32_t instance)
      : c_(config),
        d_(data),
        size_(std::min(size, available)),
        avail_(available),
        inst_(instance),
        rejected_(static_cast<size_t>(available / 64 + 1)) {}

  std::vector<Event> Run() {
    if (c_.ue3) {
      Ue3(false, 0x20000, false, u"lzopro");
      Ue3(true, 0x20000, true, u"lzna:l7");
      Ue3(false, 0x40000, true, u"leviathan:l4");
    }
    if (c_.ue4) Ue4();
    if (c_.ue5 && c_.ue5_key) Ue5();
    return events_;
  }

 private:
  template <typename T>
  T At(int64_t p) const {
    T v;
    std::memcpy(&v, d_ + p, sizeof v);
    return v;
  }

  void Report(const std::u16string& log, const std::u16string& codec, int64_t pos, int64_t stored,
              int64_t decoded, bool aes, int32_t id) {
    const auto s = static_cast<int32_t>(stored);
    const auto dd = static_cast<int32_t>(decoded);
    // A block of no stored bytes is no stream.
    if (s == 0) return;
    if (aes) events_.push_back({Event::Kind::kOutput, inst_, u"", pos, s});
    events_.push_back({Event::Kind::kLog, 0, log, pos, s, dd});
    events_.push_back({Event::Kind::kAdd, inst_, codec, pos, s, dd, aes ? id : -1, 0, true});
  }

  void Ue3(bool wide, int64_t block_size, bool check_block, const std::u16string& codec) {
    const int64_t hdr = wide ? 32 : 16;
    const int64_t ent = wide ? 16 : 8;
    auto field = [&](int64_t p) -> int64_t { return wide ? At<int64_t>(p) : At<int32_t>(p); };
    int64_t pos = 0;
    while (pos < size_ - (wide ? 56 : 28)) {
      const bool tag = wide ? At<uint64_t>(pos) == 0x9E2A83C1 : At<uint32_t>(pos) == 0x9E2A83C1;
      if (!tag || field(pos + (wide ? 8 : 4)) != block_size) {
        ++pos;
        continue;
      }
      const int64_t total_stored = field(pos + (wide ? 16 : 8));
      const int64_t total_decoded = field(pos + (wide ? 24 : 12));
      int64_t sum_s = 0, sum_d = 0, n = 0;
      bool ok = true;
      while (sum_d < total_decoded) {
        const int64_t e = pos + hdr + n * ent;
        if (e + ent > avail_) {
          ok = false;
          break;
        }
        const int64_t s = field(e);
        const int64_t dd = field(e + ent / 2);
        if (s < 0 || dd < 0 || s > INT32_MAX || dd > INT32_MAX ||
            (check_block && dd > block_size)) {
          ok = false;
          break;
        }
        sum_s += s;
        sum_d += dd;
        ++n;
      }
      if (!ok || sum_s != total_stored || sum_d != total_decoded) {
        ++pos;
        continue;
      }
      int64_t at = pos + hdr + n * ent;
      for (int64_t i = 0; i < n; ++i) {
        const int64_t e = pos + hdr + i * ent;
        Report(u"ue3", codec, at, field(e), field(e + ent / 2), false, -1);
        at += field(e);
      }
      pos = at;
    }
  }

  // The ue4 entry at pos: the position after it, or -1.
  int64_t Ue4Entry(int64_t pos) {
    if (At<int64_t>(pos) != 0) return -1;
    const int64_t S = At<int64_t>(pos + 8);
    const int64_t D = At<int64_t>(pos + 16);
    if (S < 256 || D < S || S > INT32_MAX) return -1;
    const bool wide = d_[pos + 25] == 0 && d_[pos + 26] == 0 && d_[pos + 27] == 0;
    const uint8_t m = d_[pos + 24];
    int64_t k = 0;
    int64_t len;
    if (m == 0) {
      if (D != S) return -1;
      len = wide ? 53 : 50;
    } else {
      const int64_t at = pos + (wide ? 48 : 45);
      if (at + 4 > avail_) return -1;
      k = At<int32_t>(at);
      if (k < 0 || k > 32768) return -1;
      len = (wide ? 57 : 54) + 16 * k;
    }
    if (pos + len + S > avail_) return -1;
    const int64_t t = pos + len - 5;
    const int32_t A = At<int32_t>(t + 1);
    const int32_t B = At<int32_t>(t);
    const int32_t low = std::min(A, B);
    const int32_t high = std::max(A, B);
    const int32_t bs = (high <= std::min<int64_t>(D, 0x100000) && high > 1) ? high : low;
    const uint8_t flags = A == bs ? d_[t] : d_[t + 4];
    if (bs <= 0 && flags == 0) return -1;
    if (k > 0 && (bs <= 0 || std::ceil(double(D) / double(bs)) != double(k))) return -1;
    if (flags != 0 && flags != 1) return -1;
    const bool enc = flags == 1 && c_.ue4_key;
    const bool method = !c_.ue4_method.empty();
    if (!((enc && (m == 0 || bs >= 256)) || (method && m != 0 && bs >= 256))) return -1;
    const int64_t blocks = pos + (wide ? 52 : 49);
    auto block_stored = [&](int64_t i) {
      return int32_t(uint32_t(At<uint64_t>(blocks + 16 * i + 8)) -
                     uint32_t(At<uint64_t>(blocks + 16 * i)));
    };
    auto fits = [&](int64_t round) {
      int64_t off = 0;
      for (int64_t i = 0; i < k; ++i) {
        const int64_t s = block_stored(i);
        if (s < 0 || off + s > S) return false;
        off += (s + round - 1) / round * round;
      }
      return true;
    };
    if (!enc && (m == 0 || !method)) return -1;
    // The entry's bytes, from its record to the end of its data: not examined when a block of
    // 64 of them lies under four rejected entries already.
    const int64_t first = pos / 64, last = (pos + len + S - 1) / 64;
    for (int64_t b = first; b <= last; ++b) {
      if (rejected_[b] >= 4) return -1;
    }
    auto reject = [&] {
      for (int64_t b = first; b <= last; ++b)
        ++rejected_[b];
      return -1;
    };
    if (!enc && !fits(1)) return reject();
    events_.push_back({Event::Kind::kHash, 0, u"sha1", pos + len, int32_t(S)});
    const Bytes digest = Sha1(d_ + pos + len, size_t(S));
    if (std::memcmp(digest.data(), d_ + pos + (wide ? 28 : 25), 20) != 0) return reject();
    const int64_t start = pos + len;
    int64_t rem = D, off = 0;
    if (enc) {
      Report(u"ue4", u"aes", start, S, S, true, c_.ue4_key_id);
      if (m != 0 && method && fits(16)) {
        for (int64_t i = 0; i < k; ++i) {
          const int32_t s = block_stored(i);
          const int64_t dec = std::min<int64_t>(rem, bs);
          if (s != 0) {
            events_.push_back(
                {Event::Kind::kNested, inst_, c_.ue4_method, off, s, int32_t(dec), 0, 0, true});
          }
          off += (s + 15) / 16 * 16;
          rem -= dec;
        }
      }
    } else {
      for (int64_t i = 0; i < k; ++i) {
        const int32_t s = block_stored(i);
        const int64_t dec = std::min<int64_t>(rem, bs);
        Report(c_.ue4_method, c_.ue4_method, start + off, s, dec, false, -1);
        off += s;
        rem -= dec;
      }
    }
    return start + S;
  }

  void Ue4() {
    int64_t pos = 0;
    while (pos < size_ - 48) {
      const int64_t next = Ue4Entry(pos);
      pos = next < 0 ? pos + 1 : next;
    }
  }

  bool Set(int64_t p) const { return At<uint64_t>(p) != 0 && At<uint64_t>(p + 8) != 0; }
  bool Zero(int64_t p) const { return At<uint64_t>(p) == 0 && At<uint64_t>(p + 8) == 0; }

  void Ue5() {
    int64_t pos = 0;
    while (pos < size_ - 32) {
      if (!Zero(pos) || !Set(pos + 16)) {
        ++pos;
        continue;
      }
      int64_t end = -1;
      bool abandoned = false;
      for (int64_t q = pos + 32; q < avail_ - 32; ++q) {
        if (At<int32_t>(q) == 0) {
          abandoned = true;
          break;
        }
        if (Set(q) && Zero(q + 16)) {
          end = q + 16;
          break;
        }
      }
      if (abandoned) {
        pos += 2;
        continue;
      }
      if (end < 0 || (end - pos) % 16 != 0 || end - pos - 16 > INT32_MAX) {
        ++pos;
        continue;
      }
      const int64_t start = pos + 16;
      bool accepted = false;
      for (int64_t r = end; r < avail_ - 16; r += 16) {
        if ((r - start) % 2048 == 0) {
          if (Set(r)) {
            accepted = true;
            break;
          }
        } else if (!Zero(r)) {
          break;
        }
      }
      if (accepted) {
        Report(u"ue5", u"aes", start, end - start, end - start, true, c_.ue5_key_id);
        pos = end;
      } else {
        pos += 17;
      }
    }
  }

  const ReferenceConfig& c_;
  const uint8_t* d_;
  int64_t size_;
  int64_t avail_;
  int32_t inst_;
  std::vector<int> rejected_;  // per 64-byte block: rejected ue4 entries that covered it
  std::vector<Event> events_;
};

}  // namespace

std::vector<Event> ReferenceScan(const ReferenceConfig& config, const uint8_t* data, int64_t size,
                                 int64_t available, int32_t instance) {
  return Reference(config, data, size, available, instance).Run();
}

}  // namespace unreal_test
