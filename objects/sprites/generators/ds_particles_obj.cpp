#include "objects/sprites/generators/ds_particles_obj.h"

#include <algorithm>
#include <cmath>

#include "core/list_limits.h"
#include "objects/sprites/generators/ds_particle_generator.h"
#include "objects/sprites/generators/generator_particle.h"
#include "platform/math/d3dx_math.h"

DS_ParticlesObj::DS_ParticlesObj(std::unique_ptr<DS_ParticleGenerator> generator)
    : DS_ABObj(std::move(generator)),
      generator_(static_cast<DS_ParticleGenerator*>(Description())) {
  if (generator_ != nullptr) generator_->AttachRuntimeObject(*this);
}

DS_ParticlesObj::~DS_ParticlesObj() = default;

void DS_ParticlesObj::Draw(DS_2D_Light& renderer) {
  if (generator_ != nullptr) generator_->Render(renderer, *this);
}

int DS_ParticlesObj::NeedsPictureBelow() const {
  return IsActive() && generator_ != nullptr ? generator_->NeedsTarget() : 0;
}

void DS_ParticlesObj::Update(float localTime) {
  if (generator_ != nullptr) generator_->Update(localTime, *this);
}

bool DS_ParticlesObj::HitTestPoint(const int point[2]) const {
  return generator_ != nullptr && generator_->HitTest(point);
}

bool DS_ParticlesObj::AppendScreenRects(std::vector<ScreenRect>& rects) {
  for (const auto& layer : rects_)
    rects.insert(rects.end(), layer.begin(), layer.end());
  return false;
}

void DS_ParticlesObj::SetLayerCount(unsigned n) {
  layers_.resize(n);
  quadCounts_.resize(n, 0);
  rects_.resize(n);
}

void DS_ParticlesObj::SetQuadCount(unsigned layer, unsigned n) {
  if (layer >= layers_.size()) return;
  n = std::min(n, kMaxParticlesPerList);
  PCTSpriteArray& mesh = layers_[layer];
  if (mesh.primitiveCount < 2 * n) mesh.Reserve(n);
  rects_[layer].resize(n);
  quadCounts_[layer] = n;
}

bool DS_ParticlesObj::LockLayer(unsigned layer) {
  return layer < layers_.size() && layers_[layer].vertices.Lock();
}

void DS_ParticlesObj::UnlockLayer(unsigned layer) {
  if (layer < layers_.size()) layers_[layer].vertices.Unlock();
}

bool DS_ParticlesObj::LockLayerPair(unsigned n) {
  SetQuadCount(0, n);
  SetQuadCount(1, n);
  if (!LockLayer(0)) return false;
  if (LockLayer(1)) return true;
  UnlockLayer(0);
  return false;
}

unsigned DS_ParticlesObj::DrawnQuads(unsigned layer) const {
  const PCTSpriteArray& mesh = layers_[layer];
  return std::min({quadCounts_[layer], mesh.QuadCapacity(), mesh.vertices.count / 4});
}

void DS_ParticlesObj::WriteQuad(unsigned layer, unsigned index, const QuadVertices& quad) {
  if (layer >= layers_.size()) return;
  PCTSpriteArray& mesh = layers_[layer];
  auto* v = static_cast<DX_V::PCT*>(mesh.vertices.locked);
  if (v == nullptr || index >= DrawnQuads(layer)) return;
  std::copy(quad.begin(), quad.end(), v + size_t{4} * index);
  float minX = quad[0].x, maxX = quad[0].x, minY = quad[0].y, maxY = quad[0].y;
  for (const DX_V::PCT& vertex : quad) {
    minX = std::min(minX, vertex.x);
    maxX = std::max(maxX, vertex.x);
    minY = std::min(minY, vertex.y);
    maxY = std::max(maxY, vertex.y);
  }
  rects_[layer][index] = ScreenRect{minX, minY, maxX - minX, maxY - minY};
}

void DS_ParticlesObj::WriteSpriteQuad(unsigned layer, unsigned index,
                                      const GeneratorParticle& particle, float size,
                                      float alphaFactor, const ColorAlphaParam& colour) {
  const float side = particle.channels[GeneratorParticle::kScale] * size;
  QuadVertices quad;
  MakeSpriteQuad(quad, particle.position.x, particle.position.y, particle.position.z, side, side);
  ColourQuad(quad, colour, particle.channels[GeneratorParticle::kOpacity] * alphaFactor);
  WriteQuad(layer, index, quad);
}

void DS_ParticlesObj::WriteOrientedQuad(unsigned index, const GeneratorParticle& particle,
                                        float width, float height, float alphaFactor,
                                        const ColorAlphaParam& colour) {
  const float scale = particle.channels[GeneratorParticle::kScale];
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, particle.channels[GeneratorParticle::kAngle]);
  const D3DXVECTOR3 u0(scale * width, 0.0f, 0.0f), v0(0.0f, scale * height, 0.0f);
  D3DXVECTOR3 u, v;
  D3DXVec3TransformCoord(&u, &u0, &turn);
  D3DXVec3TransformCoord(&v, &v0, &turn);
  QuadVertices quad;
  MakeOrientedQuad(quad, particle.position, u, v, 1.0f);
  ColourQuad(quad, colour, particle.channels[GeneratorParticle::kOpacity] * alphaFactor);
  WriteQuad(0, index, quad);
}
