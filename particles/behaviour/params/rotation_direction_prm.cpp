#include "particles/behaviour/params/rotation_direction_prm.h"

#include <memory>

#include "core/crt_rand.h"

namespace {

float DrawSign() {
  return crt_rand() % 2 == 0 ? 1.0f : -1.0f;
}

}  // namespace

RotationDirectionPrm::RotationDirectionPrm()
    : mode(std::make_unique<MediaParamT<int>>(0)), sign(DrawSign()) {}

RotationDirectionPrm::RotationDirectionPrm(const RotationDirectionPrm& other)
    : mode(other.mode), sign(DrawSign()) {}

float RotationDirectionPrm::Factor() const {
  const int m = mode ? mode->Value() : 0;
  return m == 1 ? -1.0f : m == 2 ? sign : 1.0f;
}

void ReadRotationDirectionPrm(DS_IOF_Archive& archive, RotationDirectionPrm& param) {
  if (!param.mode) param.mode = DS_SafePtr<MediaParamT<int>>(std::make_unique<MediaParamT<int>>(0));
  archive.io().ReadInt32(param.mode->RawValue());
}

void WriteRotationDirectionPrm(DS_IOF_Archive& archive, const RotationDirectionPrm& param) {
  archive.io().WriteInt32(param.mode ? param.mode->Value() : 0);
}
