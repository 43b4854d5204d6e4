// One small .x scene (a material referenced by name, nested frames with transforms, a mesh with a
// triangle and a quad, normals, texture coordinates, materials and a texture file name) written
// in every form the reader takes: text, binary with 32- and 64-bit floats, and both compressed.
#include <zlib.h>

#include <cstring>
#include <string>

#include "tools/fuzz_seeds/fuzz_seeds.h"

namespace fuzz_seeds {

namespace {

// A .x body as tokens, written as text or as binary tokens.
class XWriter {
 public:
  enum class Form { kText, kBinary32, kBinary64 };
  explicit XWriter(Form form) : form_(form) {}

  // "Name [instance] {"
  XWriter& Open(const std::string& name, const std::string& instance = "") {
    if (Text()) return Raw(name + (instance.empty() ? "" : " " + instance) + " {\n");
    NameToken(name);
    if (!instance.empty()) NameToken(instance);
    return Token(0x0A);
  }
  XWriter& Close() { return Text() ? Raw("}\n") : Token(0x0B); }
  // "{ Name }": a reference to a named object.
  XWriter& Reference(const std::string& name) {
    if (Text()) return Raw("{" + name + "}\n");
    Token(0x0A);
    NameToken(name);
    return Token(0x0B);
  }
  // Numbers are one list each in binary; in text each is followed by a separator.
  XWriter& Ints(const std::vector<int32_t>& values) {
    if (Text()) {
      for (int32_t v : values)
        Raw(std::to_string(v) + ";");
      return Raw("\n");
    }
    Token(0x06);
    Word32(uint32_t(values.size()));
    for (int32_t v : values)
      Word32(uint32_t(v));
    return *this;
  }
  XWriter& Floats(const std::vector<double>& values) {
    if (Text()) {
      for (double v : values)
        Raw(std::to_string(v) + ";");
      return Raw("\n");
    }
    Token(0x07);
    Word32(uint32_t(values.size()));
    for (double v : values) {
      if (form_ == Form::kBinary64) {
        Append(&v, 8);
      } else {
        const float f = float(v);
        Append(&f, 4);
      }
    }
    return *this;
  }
  // A closing semicolon that only the text form has.
  XWriter& Semicolon() { return Text() ? Raw(";\n") : *this; }
  XWriter& String(const std::string& text) {
    if (Text()) return Raw("\"" + text + "\";\n");
    Token(0x02);
    Word32(uint32_t(text.size()));
    Append(text.data(), text.size());
    return Token(0x14);
  }

  // The whole file: its header, then the body.
  std::vector<uint8_t> File() const {
    const char* header = form_ == Form::kText       ? "xof 0303txt 0032\n"
                         : form_ == Form::kBinary32 ? "xof 0303bin 0032"
                                                    : "xof 0303bin 0064";
    std::vector<uint8_t> out(header, header + std::strlen(header));
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
  }
  const std::vector<uint8_t>& Body() const { return body_; }

 private:
  bool Text() const { return form_ == Form::kText; }
  XWriter& Raw(const std::string& text) { return Append(text.data(), text.size()); }
  XWriter& Append(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    body_.insert(body_.end(), p, p + n);
    return *this;
  }
  XWriter& Token(uint16_t token) { return Append(&token, 2); }
  void Word32(uint32_t v) { Append(&v, 4); }
  void NameToken(const std::string& name) {
    Token(0x01);
    Word32(uint32_t(name.size()));
    Append(name.data(), name.size());
  }

  Form form_;
  std::vector<uint8_t> body_;
};

void Material(XWriter& x, const std::string& name, double grey, const char* texture) {
  x.Open("Material", name).Floats({grey, grey, grey, 1.0}).Semicolon();
  x.Floats({8.0}).Floats({0.2, 0.2, 0.2}).Semicolon().Floats({0, 0, 0}).Semicolon();
  if (texture) x.Open("TextureFilename").String(texture).Close();
  x.Close();
}

void Scene(XWriter& x) {
  Material(x, "Shiny", 0.9, nullptr);
  x.Open("Frame", "Root").Open("FrameTransformMatrix");
  x.Floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 2, 1}).Semicolon().Close();
  x.Open("Frame", "Child").Open("FrameTransformMatrix");
  x.Floats({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 3, 0, 0, 1}).Semicolon().Close();
  x.Open("Mesh", "Shapes");
  x.Ints({5}).Floats({0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0, 2, 0, 0}).Semicolon();
  x.Ints({2, 3, 0, 1, 4, 4, 0, 1, 2, 3}).Semicolon();
  x.Open("MeshNormals").Ints({1}).Floats({0, 0, -1}).Semicolon();
  x.Ints({2, 3, 0, 0, 0, 4, 0, 0, 0, 0}).Semicolon().Close();
  x.Open("MeshTextureCoords").Ints({5}).Floats({0, 1, 0, 0, 1, 0, 1, 1, 0.5, 0.25});
  x.Semicolon().Close();
  x.Open("MeshMaterialList").Ints({2, 2, 1, 0}).Semicolon();
  x.Reference("Shiny");
  Material(x, "Dull", 0.4, "dull.png");
  x.Close();  // MeshMaterialList
  x.Close();  // Mesh
  x.Close();  // Child
  x.Close();  // Root
}

// The MSZIP form: the size of the whole uncompressed file, then one block: its uncompressed
// size, its compressed size with the "CK" tag, the tag and raw deflate data.
std::vector<uint8_t> Compressed(const XWriter& x, const char* header) {
  const std::vector<uint8_t>& body = x.Body();
  std::vector<uint8_t> packed(compressBound(uLong(body.size())) + 64);
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  z.next_in = const_cast<Bytef*>(body.data());
  z.avail_in = uInt(body.size());
  z.next_out = packed.data();
  z.avail_out = uInt(packed.size());
  deflate(&z, Z_FINISH);
  packed.resize(z.total_out);
  deflateEnd(&z);

  std::vector<uint8_t> out(header, header + 16);
  auto put = [&](uint32_t v, size_t n) {
    for (size_t i = 0; i < n; ++i)
      out.push_back(uint8_t(v >> (8 * i)));
  };
  put(uint32_t(16 + body.size()), 4);
  put(uint32_t(body.size()), 2);
  put(uint32_t(packed.size() + 2), 2);
  out.push_back('C');
  out.push_back('K');
  out.insert(out.end(), packed.begin(), packed.end());
  return out;
}

}  // namespace

Seeds XMeshSeeds() {
  XWriter text(XWriter::Form::kText), binary(XWriter::Form::kBinary32),
      doubles(XWriter::Form::kBinary64);
  for (XWriter* x : {&text, &binary, &doubles})
    Scene(*x);
  return {{"x-text.x", text.File()},
          {"x-binary32.x", binary.File()},
          {"x-binary64.x", doubles.File()},
          {"x-text-mszip.x", Compressed(text, "xof 0303tzip0032")},
          {"x-binary32-mszip.x", Compressed(binary, "xof 0303bzip0032")}};
}

}  // namespace fuzz_seeds
