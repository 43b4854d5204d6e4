#include "particles/tree/line/straight_wideht_line.h"

ZKW_StraightWidehtLine::ZKW_StraightWidehtLine() : MediaParamT<unsigned>(100u) {
  opacity.value.SetScale(-0.01f, 1.0f);
}
