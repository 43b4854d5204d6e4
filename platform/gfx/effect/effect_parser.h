#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/gfx/effect/effect_desc.h"

namespace gfx {

// The effect file format: text, UTF-8.
//
//   #vornview effect 1                  the first line, always
//   // comments run to the end of the line; /* block comments */ too
//
//   float Opacity = 1;                  parameters: float, float2, float3, float4, float4x4
//   float4 Color = 1, 1, 1, 1;          or texture, with optional [n] for an array and
//   float2 Offsets[4] = 0.5, 0;         leading default values (the rest are 0);
//   float4x4 Transform = identity;      a matrix may default to the identity
//   texture Texture0;
//   texture Texture1, GlowTexture;      a texture may carry a second name: both set it
//
//   sampler TextureSampler {            a GLSL sampler2D of that name, one texture stage
//     Texture = Texture0;               each (in order of declaration, at most 4); the
//     AddressU = Clamp;                 states it sets (AddressU/V/W: Wrap, Mirror, Clamp,
//     MinFilter = Linear;               Border; Min/Mag/MipFilter: None, Point, Linear;
//     Unset = 0, 0, 0, 1;               BorderColor: 0xAARRGGBB) apply at BeginPass; Unset
//   }                                   is what it reads while the texture is not set. A
//                                       sampler without Texture reads the texture the
//                                       caller binds at its stage (Unset while none is)
//
//   technique BlendNormal {
//     pass {                            a pass: render states by their names with names
//       AlphaBlendEnable = True;        or numbers as values (ColorWriteEnable may join
//       SrcBlend = SrcAlpha;            Red | Green | Blue | Alpha), and the code blocks
//       DestBlend = InvSrcAlpha;        it runs; without Vertex it uses the fixed-function
//       Fragment = Textured;            vertex stage, without either the whole fixed
//     }                                 function
//   }
//
//   code common                         GLSL 330 placed before every stage's code
//   endcode
//   code fragment Textured              GLSL 330 with a main(), up to a line "endcode"
//   out vec4 color;
//   void main() { color = texture(TextureSampler, gfx_TexCoord0.xy) * gfx_Diffuse; }
//   endcode
//
// The runtime declares every parameter as a uniform of its name (float4 as vec4, float4x4 as
// mat4 holding the D3DX matrix as it is, so that `M * v` computes D3DX's v x M) and every
// sampler as a sampler2D; a fragment stage of a pass without a vertex stage also gets the
// inputs gfx_Diffuse, gfx_Specular and gfx_TexCoord0..3 (see shader_program.h). Code writes
// no #version line. Keywords, state names and value names ignore case; the names of
// parameters, samplers, techniques and code blocks are exact.

// True when the bytes begin with the format's first line (after an optional UTF-8 mark).
bool IsEffectText(std::span<const uint8_t> bytes);

// Reads an effect file. On failure, nothing, with "name(line): message" in `error`.
std::optional<EffectDesc> ParseEffect(std::string_view name, std::string_view text,
                                      std::string* error);

}  // namespace gfx
