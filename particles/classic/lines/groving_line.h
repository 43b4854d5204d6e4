#pragma once

#include <cstdint>
#include <memory>

#include "particles/classic/lines/static_line_ctrl.h"

// A line that grows along its path with its object's visibility: the strip shows the path from
// its start up to visibility x L, and with `retract` set it keeps the path's end instead while
// the object fades out, shrinking towards it. Two more envelopes weigh width and opacity by the
// point's place on the whole path.
class ZKW_GrovingLine : public ZKW_StaticLineCtrl {
 public:
  static constexpr uint32_t kVersion = 2;

  ZKW_GrovingLine() = default;
  ZKW_GrovingLine(const ZKW_GrovingLine& other) = default;

  // "ZKW_GrovingLine" version 2: the path width and path opacity envelopes (four UInt32 each),
  // Int32 retract, then the "ZKW_StaticLineCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no retract (0).
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // The head is dressed anew whenever the object comes out of hiding (and every frame under a
  // timeline without a cycle); then the strip of the shown window.
  void Update(float t) override;
  // W x E(width envelope, d / L) x E(path width envelope, (shown - d) / L).
  float WidthAt(float d) const override;
  // O x E(opacity envelope, d / L) x E(path opacity envelope, (shown - d) / L), O the line
  // look's opacity byte.
  float OpacityAt(float d) const override;

  PercentParamQuad pathWidthEnvelope;
  PercentParamQuad pathOpacityEnvelope;
  MediaParamT<int> retract{0};
  float shownLength = 0.0f;
  int lastState = 1;  // hidden
};
