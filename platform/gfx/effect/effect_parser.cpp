#include "platform/gfx/effect/effect_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/gfx/effect/effect_names.h"

namespace gfx {

namespace {

constexpr std::string_view kFirstLine = "#vornview effect 1";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  const size_t begin = s.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return {};
  return s.substr(begin, s.find_last_not_of(" \t\r") - begin + 1);
}

// Thrown inside the parser only, caught by ParseEffect.
struct SyntaxError {
  int line;
  std::string message;
};

struct Token {
  enum class Kind { Word, Number, Punct, End };
  Kind kind = Kind::End;
  std::string_view text;
  double number = 0;
  int line = 0;
};

class Tokenizer {
 public:
  Tokenizer(std::string_view text, int firstLine) : text_(text), line_(firstLine) {}

  std::vector<Token> All() {
    std::vector<Token> tokens;
    for (Token t = Next(); t.kind != Token::Kind::End; t = Next())
      tokens.push_back(t);
    tokens.push_back({Token::Kind::End, {}, 0, line_});
    return tokens;
  }

 private:
  Token Next() {
    SkipSpaceAndComments();
    Token t;
    t.line = line_;
    if (at_ >= text_.size()) return t;
    const char c = text_[at_];
    const size_t start = at_;
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      while (at_ < text_.size() &&
             (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_'))
        ++at_;
      t.kind = Token::Kind::Word;
    } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.') {
      t.kind = Token::Kind::Number;
      t.number = ReadNumber();
    } else if (std::strchr("{}[]=;,|", c)) {
      ++at_;
      t.kind = Token::Kind::Punct;
    } else {
      throw SyntaxError{line_, std::string("unexpected character '") + c + "'"};
    }
    t.text = text_.substr(start, at_ - start);
    return t;
  }

  double ReadNumber() {
    const size_t start = at_;
    if (text_.substr(at_, 2) == "0x" || text_.substr(at_, 2) == "0X") {
      uint32_t value = 0;
      const auto [end, ec] =
          std::from_chars(text_.data() + at_ + 2, text_.data() + text_.size(), value, 16);
      if (ec != std::errc() || end == text_.data() + at_ + 2)
        throw SyntaxError{line_, "bad hexadecimal number"};
      at_ = size_t(end - text_.data());
      return value;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text_.data() + at_, text_.data() + text_.size(), value);
    if (ec != std::errc() || !std::isfinite(value))
      throw SyntaxError{line_, "bad number '" + std::string(text_.substr(start, 12)) + "'"};
    at_ = size_t(end - text_.data());
    return value;
  }

  void SkipSpaceAndComments() {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n') {
        ++line_, ++at_;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++at_;
      } else if (text_.substr(at_, 2) == "//") {
        while (at_ < text_.size() && text_[at_] != '\n')
          ++at_;
      } else if (text_.substr(at_, 2) == "/*") {
        const int startLine = line_;
        at_ += 2;
        while (at_ < text_.size() && text_.substr(at_, 2) != "*/")
          line_ += text_[at_++] == '\n';
        if (at_ >= text_.size()) throw SyntaxError{startLine, "unterminated comment"};
        at_ += 2;
      } else {
        return;
      }
    }
  }

  std::string_view text_;
  size_t at_ = 0;
  int line_;
};

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  void Declarations(EffectDesc& desc) {
    while (Peek().kind != Token::Kind::End) {
      const Token& t = Peek();
      if (IsWord("sampler"))
        desc.samplers.push_back(Sampler());
      else if (IsWord("technique"))
        desc.techniques.push_back(Technique());
      else if (t.kind == Token::Kind::Word)
        desc.parameters.push_back(Parameter());
      else
        throw SyntaxError{t.line, "expected a declaration"};
    }
  }

 private:
  const Token& Peek() const { return tokens_[at_]; }
  const Token& Take() {
    const Token& t = tokens_[at_];
    if (t.kind != Token::Kind::End) ++at_;
    return t;
  }
  bool IsWord(std::string_view word) const {
    return Peek().kind == Token::Kind::Word && EqualsIgnoringCase(Peek().text, word);
  }
  bool IsPunct(char c) const { return Peek().kind == Token::Kind::Punct && Peek().text[0] == c; }
  void Expect(char c) {
    if (!IsPunct(c)) throw SyntaxError{Peek().line, std::string("expected '") + c + "'"};
    Take();
  }
  std::string Name(const char* what) {
    if (Peek().kind != Token::Kind::Word)
      throw SyntaxError{Peek().line, std::string("expected ") + what};
    return std::string(Take().text);
  }
  double Number() {
    if (Peek().kind != Token::Kind::Number) throw SyntaxError{Peek().line, "expected a number"};
    return Take().number;
  }

  EffectParamDesc Parameter() {
    static const std::pair<const char*, EffectParamType> kTypes[] = {
        {"float", EffectParamType::Float},       {"float2", EffectParamType::Float2},
        {"float3", EffectParamType::Float3},     {"float4", EffectParamType::Float4},
        {"float4x4", EffectParamType::Float4x4}, {"texture", EffectParamType::Texture}};
    EffectParamDesc p;
    p.line = Peek().line;
    const std::string type = Name("a parameter type");
    bool known = false;
    for (auto [name, value] : kTypes)
      if (EqualsIgnoringCase(type, name)) p.type = value, known = true;
    if (!known) throw SyntaxError{p.line, "unknown parameter type '" + type + "'"};
    p.name = Name("a parameter name");
    if (p.type == EffectParamType::Texture && IsPunct(',')) {
      Take();
      p.secondName = Name("a second texture name");
    }
    if (IsPunct('[')) {
      Take();
      const double n = Number();
      if (n < 1 || n > 256 || n != std::floor(n))
        throw SyntaxError{p.line, "array sizes run from 1 to 256"};
      p.arraySize = uint32_t(n);
      Expect(']');
    }
    if (p.type == EffectParamType::Texture && p.arraySize)
      throw SyntaxError{p.line, "textures cannot be arrays"};
    const size_t count = size_t(ComponentCount(p.type)) * std::max(p.arraySize, 1u);
    if (IsPunct('=')) {
      Take();
      if (p.type == EffectParamType::Texture)
        throw SyntaxError{p.line, "textures have no default value"};
      if (IsWord("identity")) {
        Take();
        if (p.type != EffectParamType::Float4x4)
          throw SyntaxError{p.line, "only a float4x4 can be the identity"};
        for (int i = 0; i < 16; ++i)
          p.values.push_back(i % 5 == 0 ? 1.0f : 0.0f);
      } else {
        p.values.push_back(float(Number()));
        while (IsPunct(',')) {
          Take();
          p.values.push_back(float(Number()));
        }
      }
      if (p.values.size() > count)
        throw SyntaxError{p.line, "more default values than '" + p.name + "' holds"};
    }
    p.values.resize(count, 0.0f);
    Expect(';');
    return p;
  }

  // A state value: names of the state's kind or numbers, joined with '|'.
  uint32_t StateValue(EffectValueKind kind) {
    uint32_t value = 0;
    for (;;) {
      const Token& t = Take();
      if (t.kind == Token::Kind::Number) {
        if (t.number < 0 || t.number > 4294967295.0 || t.number != std::floor(t.number))
          throw SyntaxError{t.line, "state values are whole numbers from 0"};
        value |= uint32_t(t.number);
      } else if (t.kind == Token::Kind::Word) {
        const auto named = FindValueName(kind, t.text);
        if (!named) throw SyntaxError{t.line, "unknown value '" + std::string(t.text) + "'"};
        value |= *named;
      } else {
        throw SyntaxError{t.line, "expected a value"};
      }
      if (!IsPunct('|')) return value;
      Take();
    }
  }

  std::array<float, 4> FourNumbers() {
    std::array<float, 4> v{};
    for (int i = 0; i < 4; ++i) {
      if (i) Expect(',');
      v[i] = float(Number());
    }
    return v;
  }

  EffectSamplerDesc Sampler() {
    EffectSamplerDesc s;
    s.line = Take().line;
    s.name = Name("a sampler name");
    Expect('{');
    while (!IsPunct('}')) {
      const int line = Peek().line;
      const std::string key = Name("a sampler state");
      Expect('=');
      if (EqualsIgnoringCase(key, "Texture")) {
        s.texture = Name("a texture parameter");
      } else if (EqualsIgnoringCase(key, "Unset")) {
        s.unset = FourNumbers();
      } else if (const auto state = FindSamplerStateName(key)) {
        s.states.emplace_back(state->state, StateValue(state->kind));
      } else {
        throw SyntaxError{line, "unknown sampler state '" + key + "'"};
      }
      Expect(';');
    }
    Expect('}');
    return s;
  }

  EffectTechniqueDesc Technique() {
    EffectTechniqueDesc t;
    t.line = Take().line;
    t.name = Name("a technique name");
    Expect('{');
    while (!IsPunct('}')) {
      if (!IsWord("pass")) throw SyntaxError{Peek().line, "expected 'pass'"};
      EffectPassDesc p;
      p.line = Take().line;
      if (Peek().kind == Token::Kind::Word) p.name = std::string(Take().text);
      Expect('{');
      while (!IsPunct('}')) {
        const int line = Peek().line;
        const std::string key = Name("a render state");
        Expect('=');
        if (EqualsIgnoringCase(key, "Vertex")) {
          p.vertex = Name("a code block name");
        } else if (EqualsIgnoringCase(key, "Fragment")) {
          p.fragment = Name("a code block name");
        } else if (const auto state = FindRenderStateName(key)) {
          p.states.emplace_back(state->state, StateValue(state->kind));
        } else {
          throw SyntaxError{line, "unknown render state '" + key + "'"};
        }
        Expect(';');
      }
      Expect('}');
      t.passes.push_back(std::move(p));
    }
    Expect('}');
    return t;
  }

  std::vector<Token> tokens_;
  size_t at_ = 0;
};

// Splits the text into declarations (code lines left out, so that line numbers stay) and
// code blocks.
std::string SplitCode(std::string_view text, int firstLine, EffectDesc& desc) {
  std::string declarations;
  EffectCodeDesc* open = nullptr;
  int openLine = 0;
  int line = firstLine;
  for (size_t at = 0; at <= text.size(); ++line) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = text.substr(at, end - at);
    const std::string_view trimmed = Trim(raw);
    at = end + 1;
    if (open) {
      if (trimmed == "endcode") {
        open = nullptr;
      } else {
        open->text.append(raw);
        open->text += '\n';
      }
      declarations += '\n';
      continue;
    }
    const bool isCode =
        trimmed.starts_with("code") &&
        (trimmed.size() == 4 || std::isspace(static_cast<unsigned char>(trimmed[4])));
    if (!isCode) {
      declarations.append(raw);
      declarations += '\n';
      continue;
    }
    Tokenizer words(trimmed.substr(4), line);
    const std::vector<Token> parts = words.All();
    EffectCodeDesc code;
    code.firstLine = line + 1;
    const auto stage = [&](std::string_view word) {
      return EqualsIgnoringCase(parts[0].text, word);
    };
    if (parts.size() == 2 && stage("common")) {
      code.stage = EffectCodeDesc::Stage::Common;
    } else if (parts.size() == 3 && (stage("vertex") || stage("fragment")) &&
               parts[1].kind == Token::Kind::Word) {
      code.stage =
          stage("vertex") ? EffectCodeDesc::Stage::Vertex : EffectCodeDesc::Stage::Fragment;
      code.name = std::string(parts[1].text);
      for (const EffectCodeDesc& other : desc.code)
        if (other.name == code.name && other.stage == code.stage)
          throw SyntaxError{line, "code '" + code.name + "' is declared twice"};
    } else {
      throw SyntaxError{line, "expected 'code common', 'code vertex NAME' or 'code fragment NAME'"};
    }
    desc.code.push_back(std::move(code));
    open = &desc.code.back();
    openLine = line;
    declarations += '\n';
  }
  if (open) throw SyntaxError{openLine, "code block without 'endcode'"};
  return declarations;
}

template <typename T>
void CheckUnique(const std::vector<T>& items, const char* what) {
  for (size_t i = 0; i < items.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (items[i].name == items[j].name)
        throw SyntaxError{items[i].line,
                          std::string(what) + " '" + items[i].name + "' is declared twice"};
}

template <typename T>
void CheckNotReserved(const std::vector<T>& items) {
  for (const T& item : items)
    if (item.name.starts_with("gfx_"))
      throw SyntaxError{item.line, "names starting with gfx_ are reserved"};
}

// Every parameter name, second names included, with the line that declares it.
std::vector<EffectParamDesc> ParameterNames(const std::vector<EffectParamDesc>& parameters) {
  std::vector<EffectParamDesc> names;
  for (const EffectParamDesc& p : parameters) {
    names.push_back({p.name, {}, p.type, 0, {}, p.line});
    if (!p.secondName.empty()) names.push_back({p.secondName, {}, p.type, 0, {}, p.line});
  }
  return names;
}

void Check(const EffectDesc& desc) {
  const std::vector<EffectParamDesc> parameterNames = ParameterNames(desc.parameters);
  CheckNotReserved(parameterNames);
  CheckNotReserved(desc.samplers);
  CheckUnique(parameterNames, "parameter");
  CheckUnique(desc.samplers, "sampler");
  CheckUnique(desc.techniques, "technique");
  for (const EffectSamplerDesc& s : desc.samplers)
    for (const EffectParamDesc& p : parameterNames)
      if (s.name == p.name) throw SyntaxError{s.line, "'" + s.name + "' names a parameter too"};
  if (desc.samplers.size() > size_t(kMaxTextureStages))
    throw SyntaxError{desc.samplers.back().line, "an effect has at most 4 samplers"};
  if (desc.techniques.empty()) throw SyntaxError{1, "an effect needs a technique"};
  for (const EffectSamplerDesc& s : desc.samplers) {
    if (s.texture.empty()) continue;
    bool found = false;
    for (const EffectParamDesc& p : parameterNames)
      found |= p.name == s.texture && p.type == EffectParamType::Texture;
    if (!found) throw SyntaxError{s.line, "no texture parameter '" + s.texture + "'"};
  }
  auto hasCode = [&](const std::string& name, EffectCodeDesc::Stage stage) {
    for (const EffectCodeDesc& c : desc.code)
      if (c.name == name && c.stage == stage) return true;
    return false;
  };
  for (const EffectTechniqueDesc& t : desc.techniques) {
    if (t.passes.empty()) throw SyntaxError{t.line, "technique '" + t.name + "' has no pass"};
    for (const EffectPassDesc& p : t.passes) {
      if (!p.vertex.empty() && !hasCode(p.vertex, EffectCodeDesc::Stage::Vertex))
        throw SyntaxError{p.line, "no vertex code '" + p.vertex + "'"};
      if (!p.fragment.empty() && !hasCode(p.fragment, EffectCodeDesc::Stage::Fragment))
        throw SyntaxError{p.line, "no fragment code '" + p.fragment + "'"};
      if (!p.vertex.empty() && p.fragment.empty())
        throw SyntaxError{p.line, "a pass with vertex code needs fragment code"};
    }
  }
}

}  // namespace

uint32_t ComponentCount(EffectParamType type) {
  switch (type) {
    case EffectParamType::Float:
      return 1;
    case EffectParamType::Float2:
      return 2;
    case EffectParamType::Float3:
      return 3;
    case EffectParamType::Float4:
      return 4;
    case EffectParamType::Float4x4:
      return 16;
    case EffectParamType::Texture:
      return 0;
  }
  return 0;
}

bool IsEffectText(std::span<const uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  const std::string_view first = text.substr(0, text.find('\n'));
  return Trim(first) == kFirstLine;
}

std::optional<EffectDesc> ParseEffect(std::string_view name, std::string_view text,
                                      std::string* error) {
  auto fail = [&](int line, const std::string& message) -> std::optional<EffectDesc> {
    if (error) *error = std::string(name) + "(" + std::to_string(line) + "): " + message;
    return std::nullopt;
  };
  if (!IsEffectText({reinterpret_cast<const uint8_t*>(text.data()), text.size()}))
    return fail(1, std::string("the first line must be '") + std::string(kFirstLine) + "'");
  if (text.find('\0') != std::string_view::npos) return fail(1, "the text holds a zero byte");
  const size_t firstBreak = text.find('\n');
  const std::string_view rest =
      firstBreak == std::string_view::npos ? std::string_view() : text.substr(firstBreak + 1);
  try {
    EffectDesc desc;
    const std::string declarations = SplitCode(rest, 2, desc);
    Parser parser(Tokenizer(declarations, 2).All());
    parser.Declarations(desc);
    Check(desc);
    return desc;
  } catch (const SyntaxError& e) {
    return fail(e.line, e.message);
  }
}

}  // namespace gfx
