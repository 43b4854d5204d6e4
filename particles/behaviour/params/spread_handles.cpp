#include "particles/behaviour/params/spread_handles.h"

#include <memory>

namespace {

template <class T>
void ReadIntoHandle(DS_IOF_Archive& archive, DS_SafePtr<T>& param) {
  if (!param) param = DS_SafePtr<T>(std::make_unique<T>());
  ReadValueSpread(archive, *param);
}

}  // namespace

void ReadValueSpreadPrm(DS_IOF_Archive& archive, DS_SafePtr<ValueSpreadPrm>& param) {
  ReadIntoHandle(archive, param);
}

void ReadAngleSpreadPrm(DS_IOF_Archive& archive, DS_SafePtr<AngleSpreadPrm>& param) {
  ReadIntoHandle(archive, param);
}
