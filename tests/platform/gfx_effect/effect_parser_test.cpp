#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/gfx/effect/effect_parser.h"

namespace gfx {
namespace {

std::string ReadAsset(const char* path) {
  std::ifstream in(std::string(SCENE_SOURCE_DIR) + "/" + path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::span<const uint8_t> Bytes(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TEST(EffectParser, ReadsTheSampleEffect) {
  const std::string text = ReadAsset("assets/effects/textured_blend.effect");
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(IsEffectText(Bytes(text)));
  std::string error;
  const auto desc = ParseEffect("textured_blend", text, &error);
  ASSERT_TRUE(desc) << error;
  ASSERT_EQ(desc->techniques.size(), 2u);
  EXPECT_EQ(desc->techniques[0].name, "BlendNormal");
  EXPECT_EQ(desc->techniques[1].name, "BlendSum");
  const EffectPassDesc& sum = desc->techniques[1].passes.at(0);
  EXPECT_EQ(sum.fragment, "Modulate");
  EXPECT_TRUE(sum.vertex.empty());
  const std::pair<RenderState, uint32_t> additive[] = {{RenderState::AlphaBlendEnable, 1},
                                                       {RenderState::SrcBlend, Blend::SrcAlpha},
                                                       {RenderState::DestBlend, Blend::One}};
  EXPECT_EQ(sum.states, std::vector(std::begin(additive), std::end(additive)));
  ASSERT_EQ(desc->samplers.size(), 1u);
  EXPECT_EQ(desc->samplers[0].texture, "Texture0");
  EXPECT_EQ(desc->samplers[0].unset, (std::array<float, 4>{1, 1, 1, 1}));
  ASSERT_EQ(desc->code.size(), 1u);
  EXPECT_NE(desc->code[0].text.find("gfx_Diffuse"), std::string::npos);
}

TEST(EffectParser, ParametersTakeLeadingDefaultsAndStatesTakeNamesOrNumbers) {
  const char* text = R"(#vornview effect 1
float Opacity = 0.5;
FLOAT4 Color = 1, 0.25;   /* the rest 0 */
float2 Offsets[3] = -1, 2e-1, 0x10;
float4x4 Transform = identity;
float4x4 Zero;
texture Picture;
technique T {
  pass First { colorwriteenable = Red | Alpha; CullMode = 1; BlendFactor = 0xFF00FF00; }
  pass { }
}
)";
  std::string error;
  const auto desc = ParseEffect("values", text, &error);
  ASSERT_TRUE(desc) << error;
  const auto& p = desc->parameters;
  ASSERT_EQ(p.size(), 6u);
  EXPECT_EQ(p[0].values, std::vector<float>{0.5f});
  EXPECT_EQ(p[1].values, (std::vector<float>{1, 0.25f, 0, 0}));
  EXPECT_EQ(p[2].arraySize, 3u);
  EXPECT_EQ(p[2].values, (std::vector<float>{-1, 0.2f, 16, 0, 0, 0}));
  EXPECT_EQ(p[3].values[0], 1.0f);
  EXPECT_EQ(p[3].values[5], 1.0f);
  EXPECT_EQ(p[3].values[1], 0.0f);
  EXPECT_EQ(p[4].values, std::vector<float>(16, 0.0f));
  EXPECT_EQ(p[5].type, EffectParamType::Texture);
  const EffectPassDesc& first = desc->techniques[0].passes[0];
  EXPECT_EQ(first.name, "First");
  const std::pair<RenderState, uint32_t> states[] = {
      {RenderState::ColorWriteEnable, ColorWrite::Red | ColorWrite::Alpha},
      {RenderState::CullMode, 1},
      {RenderState::BlendFactor, 0xFF00FF00}};
  EXPECT_EQ(first.states, std::vector(std::begin(states), std::end(states)));
  EXPECT_TRUE(desc->techniques[0].passes[1].fragment.empty());  // fixed function
}

TEST(EffectParser, ErrorsNameTheEffectAndTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"float x;\n", "bad(1): the first line must be"},
      {"#vornview effect 1\nfloat x\ntechnique T { pass { } }\n", "bad(3): expected ';'"},
      {"#vornview effect 1\n\nvector x;\n", "bad(3): unknown parameter type 'vector'"},
      {"#vornview effect 1\nfloat2 x = 1, 2, 3;\n", "bad(2): more default values"},
      {"#vornview effect 1\ntechnique T {\n pass { SrcBlend = Sideways; }\n}\n",
       "bad(3): unknown value 'Sideways'"},
      {"#vornview effect 1\ntechnique T {\n pass { Wobble = 1; }\n}\n",
       "bad(3): unknown render state 'Wobble'"},
      {"#vornview effect 1\ntechnique T { pass { Fragment = Missing; } }\n",
       "bad(2): no fragment code 'Missing'"},
      {"#vornview effect 1\nsampler S { Texture = Nothing; }\ntechnique T { pass { } }\n",
       "bad(2): no texture parameter 'Nothing'"},
      {"#vornview effect 1\ncode fragment F\nvoid main() {}\n", "bad(2): code block without"},
      {"#vornview effect 1\nfloat a;\nfloat a;\ntechnique T { pass { } }\n",
       "bad(3): parameter 'a' is declared twice"},
      {"#vornview effect 1\nfloat gfx_x;\ntechnique T { pass { } }\n", "bad(2): names starting"},
      {"#vornview effect 1\nfloat a;\n", "bad(1): an effect needs a technique"},
      {"#vornview effect 1\n/* open\n\n", "bad(2): unterminated comment"},
      {"#vornview effect 1\ntexture t;\ntexture u, t;\ntechnique T { pass { } }\n",
       "bad(3): parameter 't' is declared twice"},
      {"#vornview effect 1\nfloat f, g;\ntechnique T { pass { } }\n", "bad(2): expected ';'"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseEffect("bad", c.text, &error)) << c.text;
    EXPECT_TRUE(error.starts_with(c.error)) << "got: " << error << "\nwanted: " << c.error;
  }
}

TEST(EffectParser, RecognisesItsFirstLine) {
  EXPECT_TRUE(IsEffectText(Bytes("#vornview effect 1\n")));
  EXPECT_TRUE(IsEffectText(Bytes("\xEF\xBB\xBF#vornview effect 1\r\nfloat x;")));
  EXPECT_FALSE(IsEffectText(Bytes("#vornview effect 2\n")));
  EXPECT_FALSE(IsEffectText(Bytes(std::string_view("\x01\x09\xFF\xFE\0\0", 6))));  // compiled
  EXPECT_FALSE(IsEffectText(Bytes("")));
}

}  // namespace
}  // namespace gfx
