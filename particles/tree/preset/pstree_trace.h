#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "core/param/media_param_tb.h"
#include "core/param/moded_scaled_params.h"
#include "particles/tree/preset/pstree_leaf.h"

// A drawing node that draws a trail behind every particle of its parent node: a ribbon through
// points the parent passed, each point a particle of its own that ages, fades and dies. Its
// source lends only its two age envelopes; its own particle list stays empty. A trail lives on
// after its parent dies until its last point has died.
class ZKW_PSTree_Trace : public ZKW_PSTree_Leaf {
 public:
  // Trail points of one parent, oldest first.
  using Trail = std::vector<ParticleHandle>;
  struct ByTarget {
    bool operator()(const ParticleHandle& a, const ParticleHandle& b) const {
      return std::less<const ParticleRecord*>{}(a.Get(), b.Get());
    }
  };
  using Trails = std::map<ParticleHandle, Trail, ByTarget>;

  using ZKW_PSTree_Leaf::ZKW_PSTree_Leaf;

  // "ZKW_PSTree_Trace" version 1: Float trail life, the two envelopes, then the leaf record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The stored version is not used.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Adds a trail point for `parent`.
  void SpawnForParent(ParticleHandle parent) override;
  // A trail point for every parent, then every trail's points are aged; dead points go, and so
  // does an emptied trail of a dead parent. Always one batch.
  unsigned UpdateParticles(float step, const ParticleList& parents) override;
  // One quad per segment of every trail of two points or more.
  void FillVertices(QuadBatches& batches, size_t* index) override;
  // Drops every trail; neither the source nor the children are asked.
  void ClearParticles() override {
    trails.clear();
    pointCount_ = 0;
  }

  // A point within this distance of the point before the newest moves the newest point instead
  // of adding one.
  static constexpr float kMinSegment = 5.0f;
  // A trail point keeps the length of the segment before it here.
  static float& SegmentLength(ParticleRecord& point) { return point.presetCell[0]; }
  static float SegmentLength(const ParticleRecord& point) { return point.presetCell[0]; }

  MediaParamTB<float> trailLife{1.0f};  // seconds
  ModedScaledParams pointScale;
  ModedScaledParams pointAlpha;
  Trails trails;

 private:
  void AddTrailPoint(const ParticleHandle& parent);
  // A new point at the parent's place, its colour and its age envelopes attached.
  ParticleHandle NewTrailPoint(const ParticleRecord& parent);

  // Points of all trails. A trail life from a file does not bound how many points live: past the
  // live-particle limit the newest point of a trail follows its parent and none is added.
  size_t pointCount_ = 0;
};
