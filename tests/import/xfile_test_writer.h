// X files in the binary token form and in the MSZip-compressed forms, made
// by the tests themselves.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ws::test::xbin {

inline void Put(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i, v >>= 8) s += static_cast<char>(v & 0xFF);
}

// A binary token stream after a header ("xof 0303bin 0032" or "0064").
struct Tokens {
  std::string s;
  bool doubles = false;
  Tokens& T(std::uint16_t code) { return Put(s, code, 2), *this; }
  Tokens& Name(const std::string& n) { return T(1), Put(s, std::uint32_t(n.size()), 4), s += n, *this; }
  Tokens& Str(const std::string& n) {  // with its terminator
    return T(2), Put(s, std::uint32_t(n.size()), 4), s += n, T(0x14);
  }
  Tokens& Ints(const std::vector<std::uint32_t>& v, std::uint32_t count = ~0u) {
    T(6), Put(s, count == ~0u ? std::uint32_t(v.size()) : count, 4);
    for (auto x : v) Put(s, x, 4);
    return *this;
  }
  Tokens& Floats(const std::vector<double>& v) {
    T(7), Put(s, std::uint32_t(v.size()), 4);
    for (double x : v) {
      float f = static_cast<float>(x);
      s.append(doubles ? reinterpret_cast<const char*>(&x) : reinterpret_cast<const char*>(&f), doubles ? 8 : 4);
    }
    return *this;
  }
  Tokens& Guid(std::uint32_t a, std::uint16_t b, std::uint16_t c, const std::string& d8) {
    return T(5), Put(s, a, 4), Put(s, b, 2), Put(s, c, 2), s += d8, *this;
  }
  Tokens& Open() { return T(0x0a); }
  Tokens& Close() { return T(0x0b); }
};

// The body compressed as MSZip blocks of at most `block` bytes each, every
// block after the first using the one before as its dictionary.
inline std::string Compress(const std::string& header, const std::string& body, std::size_t block,
                            int sizeError = 0) {
  std::string out = header;
  Put(out, std::uint32_t(header.size() + body.size() + sizeError), 4);
  for (std::size_t at = 0; at < body.size(); at += block) {
    std::size_t n = std::min(block, body.size() - at);
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (at > 0) deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(body.data() + at - block), uInt(block));
    std::string packed(deflateBound(&z, uLong(n)) + 2, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data() + at));
    z.avail_in = uInt(n);
    z.next_out = reinterpret_cast<Bytef*>(packed.data() + 2);
    z.avail_out = uInt(packed.size() - 2);
    deflate(&z, Z_FINISH);
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    packed[0] = 'C', packed[1] = 'K';
    Put(out, std::uint32_t(n), 2);
    Put(out, std::uint32_t(packed.size()), 2);
    out += packed;
  }
  return out;
}

}  // namespace ws::test::xbin
