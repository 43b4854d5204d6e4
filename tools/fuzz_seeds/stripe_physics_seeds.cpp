// Stripe physics records for the stripe physics target: the first byte picks the class (its
// index among trails, straight, fractal, random and Perlin curves, plus 5 x the version), the
// rest is the record's body, then bytes that steer the play.
#include <cstddef>
#include <functional>
#include <memory>

#include "core/archive/ds_iof_w.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "particles/behaviour/physics/perlin_curve.h"
#include "particles/behaviour/physics/random_curve.h"
#include "particles/behaviour/physics/trace_line.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"

namespace fuzz_seeds {

namespace {

// The seed of `physics`, stored by `name` in `version`: its body after the header it writes,
// then moves right and down with a jump, and steps of 0.1 s.
Seed SeedOf(const char* seedName, const char16_t* name, uint8_t index, uint8_t version,
            const DS_IOF_Item& physics) {
  const std::vector<uint8_t> record = WrittenBytes([&](DS_IOF_Archive& a) { physics.Save(a); });
  const size_t header =
      WrittenBytes([&](DS_IOF_Archive& a) { WriteRecordHeader(a, name, 1); }).size();
  Seed seed{seedName, {static_cast<uint8_t>(index + 5 * version)}};
  seed.bytes.insert(seed.bytes.end(), record.begin() + static_cast<std::ptrdiff_t>(header),
                    record.end());
  for (const uint8_t steer : {0x24, 128, 0x13, 128, 0x11, 128, 0x33, 128, 0x80, 128})
    seed.bytes.push_back(steer);
  return seed;
}

}  // namespace

Seeds StripePhysicsSeeds() {
  ZKW_PtclSysPhys_TraceLine trace;
  trace.pointLife.value.SetValue(3);
  ZKW_PtclSysPhys_LineCurv line;
  line.segments.RawValue() = 4;
  ZKW_PtclSysPhys_FractalCurv fractal;
  fractal.levels.RawValue() = 3;
  ZKW_PtclSysPhys_RandomCurv random;
  random.segments.RawValue() = 6;
  ZKW_PtclSysPhys_PerlinCurv perlin;
  perlin.octaves.RawValue() = 3;
  perlin.scrollSpeed.SetValue(40);
  return {SeedOf("trace_line", u"ZKW_PtclSysPhys_TraceLine", 0, 1, trace),
          SeedOf("line_curve", u"ZKW_PtclSysPhys_LineCurv", 1, 1, line),
          SeedOf("fractal_curve", u"ZKW_PtclSysPhys_FractalCurv", 2, 2, fractal),
          SeedOf("random_curve", u"ZKW_PtclSysPhys_RandomCurv", 3, 1, random),
          SeedOf("perlin_curve", u"ZKW_PtclSysPhys_PerlinCurv", 4, 4, perlin)};
}

}  // namespace fuzz_seeds
