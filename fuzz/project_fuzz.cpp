// Loads arbitrary bytes as a project, as the player reads its own (the signature is not
// compared), then starts the slides, plays a few frames of the first ones without a device and
// saves the scene.
// Inputs whose first byte is odd, other than the 0xFF that every written project begins with,
// are laid over one of the small valid projects below, which that byte picks, at the offset
// their next four bytes give, so that the search reaches the records behind the header. Each
// template holds one theme of kinds at small counts and sizes, so that a run stays short; the
// large values that reach the caps and guards are left to the search.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_w.h"
#include "core/chrono/chrono_clock.h"
#include "core/ds_error.h"
#include "core/guid.h"
#include "core/list_limits.h"
#include "core/registry/read_by_name.h"
#include "core/startup/thread_slots.h"
#include "core/timing/depended_timeline.h"
#include "fx/colour/ds_color_shift_fx.h"
#include "fx/colour/ds_day_to_night.h"
#include "fx/colour/ds_saturation_fx.h"
#include "fx/colour/ds_saturation_wave_fx.h"
#include "fx/copy/ds_background_copy.h"
#include "fx/direction/ds_move_fx.h"
#include "fx/direction/ds_quorbel_linear.h"
#include "fx/direction/ds_waterfall_fx.h"
#include "fx/distortion/ds_bend_fx.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_radial.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/layer/ds_blure_fx.h"
#include "fx/layer/ds_erase_layer_fx.h"
#include "fx/layer/ds_pattern_brush.h"
#include "fx/light/ds_light_fx.h"
#include "fx/light/ds_light_fx_ii.h"
#include "fx/light/ds_light_wave_fx.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/relief/ds_bump_fx.h"
#include "fx/relief/ds_heat_distortion.h"
#include "fx/sky/ds_cloud_fx.h"
#include "fx/water/ds_water_fx.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"
#include "geometry/graph/vgraph_line.h"
#include "geometry/shape/zkw_vgeom2d.h"
#include "objects/sprites/ds_bird_constructor.h"
#include "objects/sprites/ds_discharge_constructor.h"
#include "objects/sprites/ds_discharge_fx_constructor.h"
#include "objects/sprites/ds_explosion_constructor.h"
#include "objects/sprites/ds_fish_constructor.h"
#include "objects/sprites/ds_flower_constructor.h"
#include "objects/sprites/ds_fog_constructor.h"
#include "objects/sprites/ds_ghost_constructor.h"
#include "objects/sprites/ds_god_ray_constructor.h"
#include "objects/sprites/ds_grass_constructor.h"
#include "objects/sprites/ds_lighting_constructor.h"
#include "objects/sprites/ds_rain_constructor.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "objects/sprites/ds_stat_obj_constructor.h"
#include "objects/sprites/generators/ds_animated_font.h"
#include "objects/sprites/generators/ds_aurora.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_brown_animation.h"
#include "objects/sprites/generators/ds_custom_air_brush.h"
#include "objects/sprites/generators/ds_falling_stars.h"
#include "objects/sprites/generators/ds_firework.h"
#include "objects/sprites/generators/ds_lightning_gn.h"
#include "objects/sprites/generators/ds_path_animtion.h"
#include "objects/sprites/generators/ds_plant.h"
#include "objects/sprites/generators/ds_radial_rays.h"
#include "objects/sprites/generators/ds_smoke.h"
#include "objects/sprites/generators/ds_static_animation.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"
#include "objects/text3d/ds_3d_in_2d_array_constructor.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"
#include "objects/text3d/ds_scrolling_tex.h"
#include "objects/text3d/ds_scrolling_text_constructor.h"
#include "objects/text3d/ds_text_link.h"
#include "objects/text3d/ds_text_link_constructor.h"
#include "objects/text3d/zkw_2d_tex.h"
#include "objects/text3d/zkw_3d_tex.h"
#include "particles/behaviour/laws/motion_law.h"
#include "particles/behaviour/physics/emitting_physics.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/behaviour/physics/shaped_points.h"
#include "particles/behaviour/physics/track_physics.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/kinds/brown_animation.h"
#include "particles/classic/kinds/burst_ptcl_sys.h"
#include "particles/classic/kinds/field_ptcl_sys.h"
#include "particles/classic/kinds/firefly.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "particles/classic/kinds/rain_on_glass.h"
#include "particles/classic/kinds/ray_of_light.h"
#include "particles/classic/kinds/single_object_path.h"
#include "particles/classic/kinds/splash_ptcl_sys.h"
#include "particles/classic/kinds/spray_presets.h"
#include "particles/classic/kinds/static_object.h"
#include "particles/classic/kinds/stream_ptcl_sys.h"
#include "particles/classic/kinds/through_space_ctrl.h"
#include "particles/classic/kinds/vortex_ptcl_sys.h"
#include "particles/classic/lines/groving_line.h"
#include "particles/classic/lines/shooting_line.h"
#include "particles/classic/lines/sliding_line.h"
#include "particles/classic/lines/waving_line.h"
#include "particles/classic/paths/particle_path.h"
#include "particles/classic/paths/particle_trace.h"
#include "particles/tree/group_constructor.h"
#include "particles/tree/line/line_node.h"
#include "particles/tree/line/stripe_line_node.h"
#include "particles/tree/line/trace_node.h"
#include "particles/tree/picture_node.h"
#include "particles/tree/preset/party_balloon.h"
#include "particles/tree/preset/pstree_curve.h"
#include "particles/tree/preset/pstree_leaf.h"
#include "particles/tree/preset/pstree_root.h"
#include "particles/tree/preset/pstree_trace.h"
#include "particles/tree/preset/ptclsys_preset.h"
#include "particles/tree/ptclsys_constructor.h"
#include "particles/tree/track_node.h"
#include "platform/gfx/fvf.h"
#include "player/document/doc_res_manager.h"
#include "player/entry/program_class_lists.h"
#include "player/music/ds_audio_file.h"
#include "player/project/load_project.h"
#include "player/render/render_context.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/sound/ds_wav_constructor.h"
#include "renderers/brush/ds_fire_fx.h"
#include "renderers/glass_ball/ds_glass_ball_light.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/matrix_code/ds_matrix_code_light.h"
#include "renderers/water_ring/ds_water_ring_light.h"

namespace {

// The look of the template's particles: a 2 x 2 atlas (not stored) and the particles' effect.
void SparkLook(ParticleAppearance& look, unsigned size) {
  DS_NamedFileLinkData picture({DS_ImageFileLink(u"spark.png", 3)});
  picture.valueA = 2;
  picture.valueB = 2;
  look.picture.SetValue(picture);
  look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
  look.size.SetValue(size);
}

// A slide with a continuous description of every burst and fountain kind, each with a picture,
// the particles' effect, a glow of its own and older-layout features switched on, so that the
// search reaches every field of their records.
std::unique_ptr<DS_SlideContainer> ParticleSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<ZKW_BurstPtclSys>> kinds;
  kinds.push_back(std::make_unique<ZKW_BurstPtclSys>());
  kinds.push_back(std::make_unique<ZKW_FontainPtclSys>());
  kinds.push_back(std::make_unique<DS_PtclFire>());
  kinds.push_back(std::make_unique<DS_PtclFireStream>());
  kinds.push_back(std::make_unique<DS_PtclSmoke>());
  kinds.push_back(std::make_unique<DS_WaterJet>());
  kinds.push_back(std::make_unique<DS_LightBeams>());
  int i = 0;
  for (auto& kind : kinds) {
    ParticleAppearance& look = kind->appearance;
    SparkLook(look, 10);
    look.glowMode.SetValue(i % 3);
    look.colorSet.mode1.SetValue(i % 3);
    look.orientation.SetValue(i % 3);
    look.spinSpeed.SetValue(20);
    look.flags = 0x1F;
    look.gravityDirection.SetValue(1 + i % 2);
    look.airResistance.SetValue(10);
    look.opacityOscillation.mode.SetValue(1 + i % 2);
    look.sizeOscillation.mode.SetValue(2 - i % 2);
    kind->emitter.point.RawValue() = {float(10 * i), 20.0f, 0.0f};
    kind->count.SetValue(5);
    kind->startSpeed.SetValue(5);
    kind->distance.SetValue(50);
    kind->spatial.SetValue(i % 2);
    kind->focus.SetValue(i % 2);
    kind->scatterRadius.SetValue(4);
    kind->sector.spread.SetValue(30);
    if (auto* fountain = dynamic_cast<ZKW_FontainPtclSys*>(kind.get()))
      fountain->counter.rate.SetValue(10);
    slide->savedObjects.emplace_back(std::move(kind));
    ++i;
  }
  return slide;
}

// An explosion that saves itself as the first version of its record did: five legacy values
// after the drift speed, which the reader turns into a random timeline.
class LegacyExplosion : public DS_ExplosionConstructor {
 public:
  bool Save(DS_IOF_Archive& archive) const override {
    WriteRecordHeader(archive, u"DS_ExplosionConstructor", 1);
    DS_IOF_Virtual& io = archive.io();
    for (uint32_t value : {noiseAmount.Value(), noiseScale1.Value(), noiseScale2.Value(),
                           driftDirection.Value(), driftSpeed.Value()})
      io.WriteUInt32(value);
    for (uint32_t legacy : {50u, 300u, 70u, 100u, 20u})
      io.WriteUInt32(legacy);
    io.WriteUInt32(seed.Value());
    io.WriteInt32(randomNoise.Value());
    io.WriteDword(secondColour.Value());
    return DS_StatBaseFXCtrl::Save(archive);
  }
};

// One of each sprite preset family kind at values their arithmetic must survive: a flow whose
// four controls wrap, bounce, wait and do nothing with a wobble frequency of 0, lights over the
// whole unsigned pause range, grass swaying a right angle, a discharge of one strip frame, an
// explosion of each record version.
std::unique_ptr<DS_SlideContainer> SpriteFamiliesSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<DS_ParticleSystemCtrl>> kinds;
  kinds.push_back(std::make_unique<DS_FishConstructor>());
  kinds.push_back(std::make_unique<DS_BirdConstructor>());
  kinds.push_back(std::make_unique<DS_GhostConstructor>());
  auto flow = std::make_unique<DS_FlowConstructor>();
  flow->speed = 300.0f;
  flow->directionAngle.RawValue() = 30;
  flow->wobbleAmplitude.RawValue() = 5;
  flow->orientationMode.RawValue() = 2;
  for (int side = 0; side < 4; ++side) {
    DS_BoundControl& control = flow->controls[size_t(side)];
    control.mode.RawValue() = side;
    control.fadeOut.RawValue() = 100u * unsigned(side);
    control.fadeIn.RawValue() = 50;
    control.shortestWait.RawValue() = 20;
    control.longestWait.RawValue() = 4294967295u;
  }
  kinds.push_back(std::move(flow));
  kinds.push_back(std::make_unique<DS_RainConstructor>());
  kinds.push_back(std::make_unique<DS_FogConstructor>());
  auto lights = std::make_unique<DS_LightingConstructor>();
  lights->pauseMin.RawValue() = 0;
  lights->pauseMax.RawValue() = 4294967295u;
  kinds.push_back(std::move(lights));
  auto grass = std::make_unique<DS_GrassConstructor>();
  grass->swayAmplitude = 90.0f;
  kinds.push_back(std::move(grass));
  auto still = std::make_unique<DS_StatObjConstructor>();
  still->rotationAngle.RawValue() = 90;
  kinds.push_back(std::move(still));
  auto crackle = std::make_unique<DS_DischargeConstructor>();
  crackle->frameStrip = true;
  crackle->frameCount = 1;
  crackle->frameRate = 30.0f;
  kinds.push_back(std::move(crackle));
  kinds.push_back(std::make_unique<DS_FlowerConstructor>());
  kinds.push_back(std::make_unique<DS_ExplosionConstructor>());
  kinds.push_back(std::make_unique<LegacyExplosion>());
  for (auto& kind : kinds) {
    kind->count.RawValue() = 2;
    kind->size.RawValue() = 10;
    kind->pulseRate = 0.5f;
    kind->picture = DS_ImageFileLink(u"glimres.dll", 2);
    if (auto* explosion = dynamic_cast<DS_ExplosionConstructor*>(kind.get())) {
      explosion->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1803);
      explosion->picture = DS_ImageFileLink(u"glimres.dll", 66);
      explosion->secondPicture = DS_ImageFileLink(u"glimres.dll", 74);
    }
    slide->savedObjects.push_back(std::move(kind));
  }
  return slide;
}

// A slide of the four air-brush kinds, each with dabs of every channel set, a source, the
// generators' mask effect and pictures of the player's own, in blend modes 0 to 3; the sparkles
// with times of 0 and the aurora with waves, so that the search reaches the arithmetic they
// guard.
std::unique_ptr<DS_SlideContainer> GeneratorSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<DS_AirBrush>> kinds;
  auto bling = std::make_unique<DS_Bling>();
  bling->minimumSize.SetValue(20);
  kinds.push_back(std::move(bling));
  auto custom = std::make_unique<DS_CustomAirBrush>();
  custom->ownPicture = DS_ImageFileLink(u"glimres.dll", 79);
  custom->frameSpeed.SetValue(100);
  kinds.push_back(std::move(custom));
  auto stars = std::make_unique<DS_TwinklingStars>();
  stars->twinkleSpeed.SetValue(50);
  kinds.push_back(std::move(stars));
  auto aurora = std::make_unique<DS_Aurora>();
  aurora->curtainHeight.SetValue(20);
  aurora->stretchAmount.SetValue(30);
  aurora->glowAmount.SetValue(100);
  aurora->swayAmount.SetValue(5);
  aurora->swayDirection.SetValue(90);
  kinds.push_back(std::move(aurora));
  int i = 0;
  for (auto& kind : kinds) {
    kind->pictures = {DS_ImageFileLink(u"glimres.dll", 80), DS_ImageFileLink(u"glimres.dll", 75)};
    kind->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1801);
    kind->blendMode.SetValue(i);
    kind->size.SetValue(8);
    kind->sources.emplace_back(D3DXVECTOR3(4, 4, 0));
    for (int k = 0; k < 3; ++k) {
      kind->AddParticle(D3DXVECTOR3(10.0f * float(k + i), 12, 0), 1.0f, 0.5f, 0.25f, 0.0f);
      for (int c = 0; c < GeneratorParticle::kChannels; ++c)
        kind->dabs.back().channels[c] = 0.5f + 0.1f * float(c);
    }
    slide->savedObjects.emplace_back(std::move(kind));
    ++i;
  }
  return slide;
}

// A slide of the positioned generators: a firework bursting on a random timeline and one
// spraying, smoke emitting once its timeline shows it, lightning a few levels deep with branches
// of every level, jittered rays and an animated font of two glyphs, so that the search reaches
// the caps and the divisions they guard.
std::unique_ptr<DS_SlideContainer> PositionedGeneratorSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  const auto dress = [](DS_TexParticleGenerator& g, int64_t effect, int blendMode) {
    g.pictures = {DS_ImageFileLink(u"glimres.dll", 75), DS_ImageFileLink(u"glimres.dll", 76)};
    g.effectLink = DS_HLSLEffectFile(u"glimres.dll", effect);
    g.blendMode.SetValue(blendMode);
  };
  const GUID sprayGuid = GUID::Create();
  for (int timeline : {0, 1}) {
    auto firework = std::make_unique<DS_FireworkSimple>();
    if (timeline == 0) firework->guid = sprayGuid;
    dress(*firework, 1802, timeline * 3);
    firework->position.SetValue(D3DXVECTOR3(20, 20, 0));
    firework->sparkCount.SetValue(16);
    firework->sparkSize.SetValue(4);
    firework->sparkSpeed.SetValue(10);
    firework->ownSpeed.SetValue(50);
    firework->emissionSwitch.SetValue(1);
    firework->lifetime.SetValue(30);
    firework->emissionRate.SetValue(2);
    firework->timing.SetValue(timeline);
    slide->savedObjects.push_back(std::move(firework));
  }
  auto smoke = std::make_unique<DS_Smoke>();
  dress(*smoke, 1805, 0);
  smoke->originLife.SetValue(10);
  smoke->originRate.SetValue(20);
  smoke->originSize.SetValue(6);
  smoke->sector.spread.SetValue(30);
  // The smoke mirrors the spraying firework's timeline: unbound during the five seconds of
  // warm-up it is hidden (nothing is emitted, the accumulator stays), and the played frames emit.
  smoke->timing.SetValue(3);
  if (auto* mirror = dynamic_cast<ZKW_DependedTimeLine*>(smoke->timing.Current()))
    mirror->master.SetValue(sprayGuid);
  slide->savedObjects.push_back(std::move(smoke));
  auto lightning = std::make_unique<DS_LightningGN>();
  dress(*lightning, 1802, 1);
  lightning->start.SetValue(D3DXVECTOR3(2, 2, 0));
  lightning->end.SetValue(D3DXVECTOR3(40, 30, 0));
  lightning->depth.SetValue(4);
  lightning->jitter.SetValue(40);
  lightning->coreWidth.SetValue(2);
  lightning->glowWidth.SetValue(6);
  lightning->branchLength.SetValue(50);
  lightning->branchAngle.SetValue(40);
  lightning->firstBranches.SetValue(4);
  lightning->secondBranches.SetValue(3);
  lightning->thirdBranches.SetValue(2);
  slide->savedObjects.push_back(std::move(lightning));
  auto rays = std::make_unique<DS_RadialRays>();
  dress(*rays, 1801, 2);
  rays->rayCount.SetValue(8);
  rays->rayLength.SetValue(30);
  rays->rayWidth.SetValue(4);
  rays->random.SetValue(1);
  rays->jitter.SetValue(50);
  rays->rotationMode.SetValue(2);
  rays->swingAmplitude.SetValue(50);
  slide->savedObjects.push_back(std::move(rays));
  auto font = std::make_unique<DS_AnimatedFont>();
  dress(*font, 1805, 0);
  font->scale.SetValue(50);
  font->glyphMap[u'A'] = {u"A", 80};
  font->glyphPictures = {DS_ImageFileLink(u"glimres.dll", 80),
                         DS_ImageFileLink(u"glimres.dll", 79)};
  font->sources.emplace_back(D3DXVECTOR3(4, 4, 0));
  slide->savedObjects.push_back(std::move(font));
  return slide;
}

// A slide of the picture generators: walkers on a path whose points coincide in places and at
// the highest path speed, turned, mirrored and flipped by the orientation modes; static
// animations played both ways, mirrored; a plant at the highest frequency; falling stars, in a
// region of a single column and with a trail; wanderers, one kind without an impulse time.
std::unique_ptr<DS_SlideContainer> PictureGeneratorSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  for (int mode = 0; mode < 4; ++mode) {
    auto walker = std::make_unique<DS_PathAnimtion>();
    walker->pictures = {DS_ImageFileLink(u"glimres.dll", 84)};
    walker->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1805);
    walker->pictureScale.SetValue(50);
    walker->pathSpeed.SetValue(mode == 3 ? 0xFFFFFFFFu : 20u);
    walker->orientationMode.SetValue(mode);
    walker->horizontalFlip.SetValue(mode & 1);
    for (const D3DXVECTOR3& at : {D3DXVECTOR3(4, 4, 0), D3DXVECTOR3(4, 4, 0),
                                  D3DXVECTOR3(40, 20, 0), D3DXVECTOR3(40, 20, 0)}) {
      DX_SmartPnt point;
      point.SetValueSilently(at);
      walker->path.AppendPoint(point, nullptr);
    }
    slide->savedObjects.push_back(std::move(walker));
  }
  for (int mode = 0; mode < 2; ++mode) {
    auto lamp = std::make_unique<DS_StaticAnimation>();
    lamp->pictures = {DS_ImageFileLink(u"glimres.dll", 84)};
    lamp->rectangle.SetRect(20, 10, D3DXVECTOR3(20, 10, 0));
    lamp->frameSpeed.SetValue(1000);
    lamp->reverse.SetValue(mode);
    lamp->secondMode.SetValue(mode);
    lamp->thirdMode.SetValue(1 - mode);
    slide->savedObjects.push_back(std::move(lamp));
  }
  auto plant = std::make_unique<DS_Plant>();
  plant->pictures = {DS_ImageFileLink(u"glimres.dll", 76)};
  plant->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1804);
  plant->rectangle.SetRect(10, 30, D3DXVECTOR3(30, 15, 0));
  plant->frequency.SetValue(0xFFFFFFFFu);
  plant->swayMagnitude.SetValue(500);
  plant->bendMagnitude.SetValue(500);
  plant->timing.timeMode.SetValue(1);
  slide->savedObjects.push_back(std::move(plant));
  for (int trail : {0, 1}) {
    auto stars = std::make_unique<DS_FallingStars>();
    stars->pictures = {DS_ImageFileLink(u"glimres.dll", 80), DS_ImageFileLink(u"glimres.dll", 2)};
    stars->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1802);
    stars->region.SetRect(float(trail) * 40.0f, 20, D3DXVECTOR3(20, 10, 0));
    stars->starRate.SetValue(trail == 0 ? 50u : 20u);
    stars->starSize.SetValue(4);
    stars->fallSpeed.SetValue(50);
    stars->fallDirection.SetValue(270);
    stars->shownTime.SetValue(trail * 100u);
    stars->emissionSwitch.SetValue(trail);
    stars->emissionRate.SetValue(50);
    stars->lifetime.SetValue(100);
    stars->auxiliary.SetValue(50);
    slide->savedObjects.push_back(std::move(stars));
  }
  for (unsigned count : {5u, 3u}) {
    auto flies = std::make_unique<DS_BrownAnimation>();
    flies->pictures = {DS_ImageFileLink(u"glimres.dll", 84)};
    flies->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1805);
    flies->region.SetRect(30, 20, D3DXVECTOR3(20, 10, 0));
    flies->wandererCount.SetValue(count);
    flies->pictureScale.SetValue(20);
    flies->motionScale.SetValue(50);
    flies->impulseTime.SetValue(count == 5 ? 0u : 10u);
    slide->savedObjects.push_back(std::move(flies));
  }
  return slide;
}

// A slide with one of each ready-made system, each with a picture, the particles' effect and
// values its arithmetic must survive (a vortex of no arms, rays of no lifetime, a splash of no
// speed); the swarm runs on a random timeline, so that its restart clears it.
std::unique_ptr<DS_SlideContainer> SystemsSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<ZKW_ParticleSystemCtrl>> kinds;
  auto flight = std::make_unique<ZKW_ThroughSpaceCtrl>();
  flight->area.rect.SetRect(60, 40, D3DXVECTOR3(30, 20, 0));
  flight->centre.SetValue(D3DXVECTOR3(30, 20, 0));
  flight->rotationDirection.SetValue(1);
  flight->flightSpeed.SetValue(100);
  kinds.push_back(std::move(flight));
  auto field = std::make_unique<ZKW_FieldPtclSys>();
  field->slots.SetPositions({{1, 2, 0}, {5, 6, 0}, {9, 3, 0}});
  field->fill.SetValue(70);
  field->lifetime.SetValue(10);
  field->startSpeed.SetValue(10);
  kinds.push_back(std::move(field));
  auto swarm = std::make_unique<ZKW_BrownAnimation>();
  swarm->count.SetValue(4);
  swarm->walkSpeed.SetValue(25);
  swarm->region.rect.SetRect(40, 40, D3DXVECTOR3(20, 20, 0));
  swarm->timing.SetValue(1);
  kinds.push_back(std::move(swarm));
  auto fireflies = std::make_unique<ZKW_Firefly>();
  fireflies->count.SetValue(3);
  fireflies->region.rect.SetRect(40, 40, D3DXVECTOR3(20, 20, 0));
  fireflies->tracer.lifetime.SetValue(40);
  fireflies->tracer.circleSize.SetValue(100);
  fireflies->tracer.expansion.SetValue(80);
  fireflies->tracer.look.picture.SetValue(DS_NamedFileLinkData({DS_ImageFileLink(u"a.png", 4)}));
  fireflies->tracer.look.glowMode.SetValue(ParticleAppearance::kScreenGlow);
  kinds.push_back(std::move(fireflies));
  auto still = std::make_unique<ZKW_StaticObject>();
  still->corners.SetRect(10, 10, D3DXVECTOR3(5, 5, 0));
  still->spinSpeed.SetValue(50);
  kinds.push_back(std::move(still));
  auto path = std::make_unique<ZKW_SigleObjectPath>();
  path->orientation.SetValue(1);
  path->pathSpeed.SetValue(20);
  for (float x : {0.0f, 10.0f, 25.0f}) {
    DX_SmartPnt point;
    point.SetValueSilently(D3DXVECTOR3(x, x, 0));
    path->path.AppendPoint(point, nullptr);
  }
  kinds.push_back(std::move(path));
  std::vector<std::unique_ptr<ZKW_SplashPtclSys>> sprays;
  sprays.push_back(std::make_unique<ZKW_SplashPtclSys>());
  sprays.push_back(std::make_unique<ZKW_SprayPtclSys>());
  sprays.push_back(std::make_unique<DS_PtclFog>());
  sprays.push_back(std::make_unique<DS_BokehLights>());
  sprays.push_back(std::make_unique<DS_PtclSmoke3>());
  sprays.push_back(std::make_unique<DS_Shimmer>());
  for (size_t i = 0; i < sprays.size(); ++i) {
    sprays[i]->rectEmitter.rect.SetRect(20, 10, D3DXVECTOR3(10, 5, 0));
    sprays[i]->sectorEmitter.radius = 5;
    sprays[i]->sectorEmitter.opening = 90;
    sprays[i]->source.SetValue(int(i % 2));
    sprays[i]->count.SetValue(4);
    sprays[i]->lifetime.SetValue(10);
    sprays[i]->flightSpeed.SetValue(i == 0 ? 0 : 20);
    kinds.push_back(std::move(sprays[i]));
  }
  std::vector<std::unique_ptr<DS_StreamPtclSys>> streams;
  streams.push_back(std::make_unique<DS_StreamPtclSys>());
  streams.push_back(std::make_unique<DS_PtclSmoke2>());
  for (auto& stream : streams) {
    stream->area.SetRect(40, 20, D3DXVECTOR3(20, 10, 0));
    stream->lifetime.SetValue(10);
    stream->speed.value.SetValue(10);
    stream->scatter.SetValue(20);
    kinds.push_back(std::move(stream));
  }
  auto vortex = std::make_unique<ZKW_VortexPtclSys>();
  vortex->radialSpeed.SetValue(5);
  vortex->swirl.SetValue(100);
  vortex->distance.SetValue(30);
  kinds.push_back(std::move(vortex));
  auto rain = std::make_unique<DS_RainOnGlass>();
  rain->pane.rect.SetRect(40, 40, D3DXVECTOR3(20, 20, 0));
  rain->slideForce.SetValue(50);
  rain->flow.SetValue(270);
  kinds.push_back(std::move(rain));
  auto rays = std::make_unique<DS_RayOfLight>();
  rays->area.SetRect(40, 40, D3DXVECTOR3(20, 20, 0));
  rays->count.SetValue(3);
  rays->width.value.SetValue(5);
  rays->head.SetValue(20);
  kinds.push_back(std::move(rays));
  for (auto& kind : kinds) {
    SparkLook(kind->appearance, 6);
    kind->appearance.orientation.SetValue(1);
    slide->savedObjects.emplace_back(std::move(kind));
  }
  return slide;
}

// A sprite text saved as the first version of its record did: durations near 2^32 ms, which
// the reader turns into a random timeline.
class LegacyStaticText : public DS_StaticTextConstructor {
 public:
  bool Save(DS_IOF_Archive& archive) const override {
    WriteRecordHeader(archive, u"DS_StaticTextConstructor", 1);
    DS_IOF_Virtual& io = archive.io();
    io.WriteInt32(textSetting1.Value());
    io.WriteInt32(textSetting2.Value());
    io.WriteWideString(text.Value());
    WriteFontData(archive, font.Value());
    for (uint32_t duration : {0xFFFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFF0u, 0xFFFFFFFFu})
      io.WriteUInt32(duration);
    return DS_StatBaseFXCtrl::Save(archive);
  }
};

// A scrolling sprite text of the first record version: no picture size.
class LegacyScrollingText : public DS_ScrollingTextConstructor {
 public:
  bool Save(DS_IOF_Archive& archive) const override {
    WriteRecordHeader(archive, u"DS_ScrollingTextConstructor", 1);
    archive.io().WriteUInt32(scrollDivisor.Value());
    archive.io().WriteInt32(direction.Value());
    return DS_StaticTextConstructor::Save(archive);
  }
};

// The sprite and quad texts and links: a legacy static text, scrolling texts with a divisor of
// 0 and of a picture size 0 (a first version record), links, and quad texts with a shadow, two
// pictures and a scroll each way on a random timeline.
void AddTextsAndLinks(DS_SlideContainer& slide) {
  std::vector<std::unique_ptr<DS_StaticTextConstructor>> sprites;
  sprites.push_back(std::make_unique<LegacyStaticText>());
  auto link = std::make_unique<DS_TextLinkConstructor>();
  link->targetSlide.RawValue() = 1;
  sprites.push_back(std::move(link));
  for (unsigned divisor : {0u, 3u}) {
    auto scrolling = std::make_unique<DS_ScrollingTextConstructor>();
    scrolling->scrollDivisor.RawValue() = divisor;
    scrolling->direction.RawValue() = int(divisor);
    scrolling->pictureWidth = 64.0f;
    scrolling->pictureHeight = 16.0f;
    sprites.push_back(std::move(scrolling));
  }
  sprites.push_back(std::make_unique<LegacyScrollingText>());
  for (auto& sprite : sprites) {
    sprite->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1901);
    sprite->width.RawValue() = 16;
    sprite->height.RawValue() = 8;
    slide.savedObjects.push_back(std::move(sprite));
  }
  std::vector<std::unique_ptr<DS_StaticText>> quads;
  quads.push_back(std::make_unique<DS_StaticText>());
  auto quadLink = std::make_unique<DS_TextLink>();
  quadLink->targetSlide.RawValue() = 0xFFFFFFFFu;
  quads.push_back(std::move(quadLink));
  for (int direction : {0, 1, 2, 3}) {
    auto scrolling = std::make_unique<DS_ScrollingTex>();
    scrolling->direction.RawValue() = direction;
    scrolling->timing.SetValue(1);
    quads.push_back(std::move(scrolling));
  }
  for (auto& quad : quads) {
    quad->appearance.picture.RawValue().links = {DS_ImageFileLink(u"picture.png", 7),
                                                 DS_ImageFileLink(u"picture.png", 7)};
    quad->corners.SetRect(8, 4, D3DXVECTOR3(4, 2, 0));
    quad->shadowOn.RawValue() = 1;
    quad->shadowDistance.RawValue() = 3;
    quad->shadowDirection.RawValue() = 45;
    slide.savedObjects.push_back(std::move(quad));
  }
}

// A 3D text whose glyph mesh is one triangle of glyph 1, with `damage` done to its block.
template <class Damage>
std::unique_ptr<ZKW_3DTex> TriangleText(Damage damage) {
  GlyphSet glyphs;
  GlyphMeshBlock& block = glyphs.mesh;
  block.faceCount = 1;
  block.vertexCount = 3;
  block.fvf = gfx::Fvf::Xyz | gfx::Fvf::Normal;
  block.stride = 24;
  const float vertices[18] = {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1};
  block.vertices.resize(sizeof vertices);
  std::memcpy(block.vertices.data(), vertices, sizeof vertices);
  block.indices = {0, 1, 2};
  block.attributes = {1};
  glyphs.textBounds.SetRect(1, 1, D3DXVECTOR3(0.5f, 0.5f, 0));
  glyphs.glyphBounds.emplace_back().SetRect(1, 1, D3DXVECTOR3(0.5f, 0.5f, 0));
  damage(block);
  auto text = std::make_unique<ZKW_3DTex>();
  text->SetGlyphs(glyphs);
  text->text.font.size.RawValue() = 10;
  text->glyphMotion.RawValue() = 1;
  text->glyphLoop.RawValue() = 1;
  text->objectMotion.RawValue() = 4;
  text->arcAngle.SetValue(90);
  return text;
}

// The path of the line and path kinds: three points.
void ThreePoints(SplinePath& path) {
  for (const D3DXVECTOR3& at :
       {D3DXVECTOR3(5, 40, 0), D3DXVECTOR3(40, 10, 0), D3DXVECTOR3(80, 35, 0)}) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    path.AppendPoint(point, nullptr);
  }
}

// A look with a picture and the particles' effect.
void LineLook(ParticleAppearance& look, int glow) {
  look.picture.SetValue(DS_NamedFileLinkData({DS_ImageFileLink(u"spark.png", 3)}));
  look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
  look.size.SetValue(6);
  look.glowMode.SetValue(glow);
}

// A slide with each line and path kind on a three-point path, each with both looks, a width and
// its envelopes, its heads on and a multiply blend on some, so that the search reaches every
// field of their records; then a shooting line without points and a waving line of no length.
std::unique_ptr<DS_SlideContainer> LineSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  auto growing = std::make_unique<ZKW_GrovingLine>();
  auto sliding = std::make_unique<ZKW_SlidingLine>();
  sliding->slideLength.SetValue(30);
  sliding->alternate.SetValue(1);
  growing->retract.SetValue(1);
  growing->timing.SetValue(1);
  sliding->timing.SetValue(1);
  for (ZKW_StaticLineCtrl* line : {static_cast<ZKW_StaticLineCtrl*>(growing.get()),
                                   static_cast<ZKW_StaticLineCtrl*>(sliding.get())}) {
    ThreePoints(line->path);
    LineLook(line->lineAppearance, 0);
    LineLook(line->appearance, 2);
    line->lineAppearance.blend.SetValue(1);
    line->width.SetValue(5);
    line->widthEnvelope.riseEnd.SetValue(20);
    line->particlesOn.SetValue(1);
    line->offsetAcross.SetValue(2.0f);
  }
  slide->savedObjects.emplace_back(std::move(growing));
  slide->savedObjects.emplace_back(std::move(sliding));
  for (int i = 0; i < 3; ++i) {
    auto shots = i == 1 ? std::make_unique<ZKW_Tears>() : std::make_unique<ZKW_ShootingLine>();
    if (i < 2) ThreePoints(shots->path);
    LineLook(shots->lineAppearance, i);
    LineLook(shots->appearance, 0);
    shots->lineAppearance.blend.SetValue(i % 2);
    shots->shotCounter.minimum.SetValue(0.1f);
    shots->shotCounter.maximum.SetValue(0.3f);
    shots->shotSpeed.SetValue(40);
    shots->lateralOffset.SetValue(4);
    shots->trailLength.SetValue(20);
    shots->width.SetValue(3);
    shots->wobbleFrequency.SetValue(300);
    shots->particlesOn.SetValue(1);
    slide->savedObjects.emplace_back(std::move(shots));
  }
  for (float reach : {60.0f, 0.0f}) {
    auto waving = std::make_unique<ZKW_WavingLine>();
    waving->start.SetValue({10, 20, 0});
    waving->end.SetValue({10 + reach, 20, 0});
    LineLook(waving->lineAppearance, 0);
    LineLook(waving->appearance, 1);
    waving->width.SetValue(4);
    waving->amplitude.SetValue(10);
    waving->ripple.SetValue(50);
    waving->particlesOn.SetValue(1);
    slide->savedObjects.emplace_back(std::move(waving));
  }
  for (int mode : {0, 1}) {
    auto path = std::make_unique<ZKW_ParticlePath>();
    ThreePoints(path->path);
    LineLook(path->appearance, 0);
    path->counter.rate.SetValue(50);
    path->pathSpeed.SetValue(30);
    path->speedSpread.SetValue(20);
    path->lateralOffset.SetValue(5);
    path->wobbleMode.SetValue(mode);
    path->wobbleFrequency.SetValue(200);
    path->rampInEnd.SetValue(20);
    path->rampOutStart.SetValue(80);
    slide->savedObjects.emplace_back(std::move(path));
  }
  auto trace = std::make_unique<ZKW_ParticleTrace>();
  ThreePoints(trace->path);
  LineLook(trace->appearance, 0);
  trace->points.SetValue(20);
  trace->lifetime.SetValue(100);
  trace->scatter.SetValue(2);
  trace->drift.SetValue(3);
  trace->timing.SetValue(1);
  slide->savedObjects.emplace_back(std::move(trace));
  return slide;
}

// Drifting copies of size 0 whose stored "mesh" is no .x data and whose picture no picture.
std::unique_ptr<DS_3D_in_2D_array_Constructor> BrokenLeaves(uint32_t count) {
  auto leaves = std::make_unique<DS_3D_in_2D_array_Constructor>();
  leaves->count.RawValue() = count;
  leaves->mesh.path = u"leaf.x";
  leaves->mesh.bytes = {'x', 'o', 'f', ' ', '0', '3'};
  leaves->picture.path = u"leaf.png";
  leaves->picture.bytes = {0x89, 'P', 'N', 'G'};
  leaves->drift.size.RawValue() = 0;
  leaves->drift.swayFrequency.RawValue() = 3;
  leaves->drift.sway.RawValue() = 20;
  leaves->drift.SetDirection(270);
  return leaves;
}

// A slide of the 3D models at the values their arithmetic must survive: broken drifting
// copies, butterflies of size 0 on the library's meshes, and a clock on them.
std::unique_ptr<DS_SlideContainer> ModelSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  slide->savedObjects.emplace_back(BrokenLeaves(6));
  auto butterflies = std::make_unique<DS_ButterflyConstructor>();
  butterflies->count.RawValue() = 3;
  butterflies->size.RawValue() = 0;
  butterflies->wingScale = 0.5f;
  slide->savedObjects.emplace_back(std::move(butterflies));
  auto clock = std::make_unique<DS_ClockConstructor>();
  clock->size.RawValue() = 80;
  clock->clockRect.extra1.RawValue() = 40;
  clock->clockRect.extra2.RawValue() = 40;
  slide->savedObjects.emplace_back(std::move(clock));
  return slide;
}

// A node-tree particle system with every class of the tree: a spinning root; an emitter whose
// effects are every registered effect kind; a picture of each texture-source kind (one with an
// atlas, one with the glow, radial glow and shadow on); a Blank node; an exploding picture. Stored
// once as the constructor and once as the builder. Then a group holding two systems.
std::unique_ptr<DS_SlideContainer> NodeTreeSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  for (const bool builder : {false, true}) {
    std::unique_ptr<ZKW_PtclSys_Constructor> system =
        builder ? std::make_unique<ZKW_PtclSys_Builder>()
                : std::make_unique<ZKW_PtclSys_Constructor>();
    system->Root().Physics().spinSpeed.RawValue() = 50;
    auto emitter = std::make_unique<ZKW_PtclSysNode_Emitter>();
    auto group = std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>();
    group->count.RawValue() = 2;
    group->SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
    emitter->SetPhysics(std::move(group));
    for (const char* effect :
         {"ZKW_OrientationInMotion", "ZKW_PtclSysEffect_AlignToSource",
          "ZKW_PtclSysEffect_AngleBase", "ZKW_PtclSysEffect_AngleDyn", "ZKW_PtclSysEffect_Spin",
          "ZKW_PtclSysEffect_Pulsation", "ZKW_PtclSysEffect_Vibration",
          "ZKW_PtclSysEffect_Deformation", "ZKW_PtclSysEffect_Swinging", "ZKW_PtclSysEffect_ColorD",
          "ZKW_PtclSysEffect_ColorV", "ZKW_PtclSysEff_VariatorMF", "ZKW_PtclSysEff_Graph",
          "ZKW_PtclSysEff_ColorGradient", "ZKW_PtclSysEff_Gradient"}) {
      std::unique_ptr<ZKW_IOF_Item> item = CreateIofItemByName(effect);
      auto* typed = dynamic_cast<ZKW_ParticlSystem_Effect*>(item.get());
      if (typed == nullptr) continue;
      item.release();
      emitter->effects.Insert(INT_MAX, DS_SafePtr<ZKW_ParticlSystem_Effect>(
                                           std::unique_ptr<ZKW_ParticlSystem_Effect>(typed)));
    }
    const char16_t* sources[] = {u"ZKW_ResIDTex", u"ZKW_ImgFileTex", u"ZKW_SoftCircleTex",
                                 u"ZKW_TextTexure", u"ZKW_PolygonTex"};
    for (size_t i = 0; i < std::size(sources); ++i) {
      auto picture = std::make_unique<ZKW_PtclSysNode_Picture>();
      auto source = CreateByName(GetTextureSrcRegistry(), sources[i]);
      source->links = {DS_ImageFileLink(u"picture.png", 7)};
      source->valueA = static_cast<uint32_t>(i);
      source->valueB = 2;
      source->modeParam.RawValue() = static_cast<int>(i % 2);
      picture->texture.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(std::move(source)));
      picture->size.RawValue() = 8;
      picture->childrenOrder.RawValue() = static_cast<int>(i % 2);
      picture->additive.RawValue() = static_cast<int>(i / 2 % 2);
      picture->options.glow.enabled.RawValue() = i == 3 ? 1 : 0;
      picture->options.radialGlow.enabled.RawValue() = i == 3 ? 1 : 0;
      picture->options.shadow.enabled.RawValue() = i == 3 ? 1 : 0;
      emitter->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(picture)));
    }
    auto blank = std::make_unique<ZKW_PtclSysNode_Blank>();
    blank->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::make_unique<ZKW_PtclSysNodePic_Explode>()));
    emitter->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(blank)));
    // Stripe lines on the emitter's shape: a fractal line following its first parameter in a
    // window, a random line following its second.
    auto fractal = std::make_unique<ZKW_PtclSysNode_FractalLine>();
    fractal->SetPhysics(std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
    fractal->stripeMode.RawValue() = 1;
    fractal->followGeometry.RawValue() = 1;
    fractal->curves->levels.RawValue() = 3;
    emitter->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(fractal)));
    auto random = std::make_unique<ZKW_PtclSysNode_RandomLine>();
    random->SetPhysics(std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
    random->followGeometry.RawValue() = 2;
    random->curves->segments.RawValue() = 4;
    emitter->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(random)));
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(emitter)));
    slide->savedObjects.emplace_back(std::move(system));
  }
  // A group that holds two systems and moves them along a path of two points.
  auto group = std::make_unique<ZKW_Group_Constructor>();
  group->membersOutside.RawValue() = false;
  group->node->pathMode.RawValue() = 1;
  AppendPathNodes(*group->node, {D3DXVECTOR3(0, 10, 0), D3DXVECTOR3(40, 10, 0)});
  for (int i = 0; i < 2; ++i)
    group->memberRecords->push_back(std::make_unique<ZKW_PtclSys_Constructor>());
  slide->savedObjects.emplace_back(std::move(group));
  return slide;
}

// Particle streams with every stream class: a figure source for each motion law, a lattice, a
// swarm, a flow, looping fixed spots, a track and a perspective track under a track node, and the
// force, texture, background and motion-law effects. Small counts keep the runs fast.
std::unique_ptr<DS_SlideContainer> StreamsSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  auto system = std::make_unique<ZKW_PtclSys_Builder>();
  const auto physics = [](const char* name) {
    std::unique_ptr<ZKW_IOF_Item> item = CreateIofItemByName(name);
    auto* typed = dynamic_cast<ZKW_PtclSysPhys_Points*>(item.get());
    if (typed != nullptr) item.release();
    std::unique_ptr<ZKW_PtclSysPhys_Points> points(typed);
    if (points) points->SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
    return points;
  };
  // An emitter moved by `points` drawing a picture on each of its particles.
  const auto stream = [&](std::unique_ptr<ZKW_PtclSysPhys_Points> points) {
    auto node = std::make_unique<ZKW_PtclSysNode_Emitter>();
    node->SetPhysics(std::move(points));
    auto drawn = std::make_unique<ZKW_PtclSysNode_Picture>();
    drawn->size.RawValue() = 8;
    drawn->SetPhysics(std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
    node->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(drawn)));
    return node;
  };
  for (const char* law :
       {"ZKW_PtclSysMLaw_Kinematic", "ZKW_PtclSysMLaw_Vector", "ZKW_PtclSysMLaw_Normal",
        "ZKW_PtclSysMLaw_VelocityField", "ZKW_PtclSysMLaw_Loop", "ZKW_PtclSysMLaw_Radial",
        "ZKW_PtclSysMLaw_Spiral", "ZKW_PtclSysMLCentred_Tunel"}) {
    auto source = physics("ZKW_PtclSysPhys_SourceFig");
    auto* fig = dynamic_cast<ZKW_PtclSysPhys_SourceFig*>(source.get());
    std::unique_ptr<ZKW_IOF_Item> item = CreateIofItemByName(law);
    auto* typed = dynamic_cast<ZKW_PtclSys_MotionLaw*>(item.get());
    if (fig == nullptr || typed == nullptr) continue;
    item.release();
    fig->law = DS_SafePtr<ZKW_PtclSys_MotionLaw>(std::unique_ptr<ZKW_PtclSys_MotionLaw>(typed));
    fig->emission.RawValue() = 4;
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(stream(std::move(source))));
  }
  auto effects = stream(physics("ZKW_PtclSysPhys_Lattice"));
  for (const char* effect :
       {"ZKW_PtclSysEffect_ForceGravitation", "ZKW_PtclSysEffect_ForceDrag",
        "ZKW_PtclSysEffect_ScrollTex", "ZKW_PtclSysEffect_BgTex", "ZKW_PtclSysEffect_MotionLaw"}) {
    std::unique_ptr<ZKW_IOF_Item> item = CreateIofItemByName(effect);
    auto* typed = dynamic_cast<ZKW_ParticlSystem_Effect*>(item.get());
    if (typed == nullptr) continue;
    item.release();
    effects->effects.Insert(INT_MAX, DS_SafePtr<ZKW_ParticlSystem_Effect>(
                                         std::unique_ptr<ZKW_ParticlSystem_Effect>(typed)));
  }
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(effects)));
  for (const char* kind : {"ZKW_PtclSysPhys_Swarm", "ZKW_PtclSysPhys_Flow",
                           "ZKW_PtclSysPhys_FixedSpots", "ZKW_PtclSysPhys_TrackPerspective"}) {
    auto points = physics(kind);
    if (auto* spots = dynamic_cast<ZKW_PtclSysPhys_FixedSpots*>(points.get()))
      spots->loopMode.RawValue() = 1;
    if (auto* track = dynamic_cast<ZKW_PtclSysPhys_Track*>(points.get()))
      track->curve.Get()->InitAsSegment(0, 0, 0, 50, 20, 0);
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(stream(std::move(points))));
  }
  auto trackNode = std::make_unique<ZKW_PtclSysNode_Track>();
  if (auto* track = dynamic_cast<ZKW_PtclSysPhys_Track*>(trackNode->physics.Get())) {
    track->curve.Get()->InitAsSegment(0, 0, 0, 80, 0, 0);
    track->pauses.startPause.RawValue() = 10;
    track->pauses.hideAtStart.RawValue() = 1;
  }
  trackNode->AddChild(
      DS_SafePtr<ZKW_PtclSys_Node>(stream(physics("ZKW_PtclSysPhys_ConstPntGroup"))));
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(trackNode)));
  // Trails behind a swarm's particles, switched on, with the glow (a reader of the picture
  // below) on the trace.
  auto traced = stream(physics("ZKW_PtclSysPhys_Swarm"));
  auto trace = std::make_unique<ZKW_PtclSysNode_Trace>();
  trace->SetPhysics(std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
  trace->enabled.RawValue() = 1;
  trace->options.glow.enabled.RawValue() = 1;
  traced->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(trace)));
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(traced)));
  slide->savedObjects.emplace_back(std::move(system));
  return slide;
}

// Node-tree lines on a figure source: each clip mode (and one unknown) at anchors 0, 50 and
// 100; segments with width and opacity envelopes of several breakpoints (some at the same x),
// spreads, a segment of length 0 and one 60 % transparent; a textured line with the glow, radial
// glow and shadow on; a line read back with no segments, with a child that stays inert.
std::unique_ptr<DS_SlideContainer> NodeLinesSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  auto system = std::make_unique<ZKW_PtclSys_Builder>();
  const auto envelope = [](std::vector<ZKW_VGraph_Line::Point> points) {
    return DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Line>(std::move(points)));
  };
  for (int mode = 0; mode < 4; ++mode) {
    auto line = std::make_unique<ZKW_PtclSysNode_Line>();
    auto source = CreateIofItemByName("ZKW_PtclSysPhys_SourceFig");
    if (auto* fig = dynamic_cast<ZKW_PtclSysPhys_SourceFig*>(source.get())) {
      source.release();
      fig->emission.RawValue() = 4;
      fig->SetGeometry(CreateVGeom2DByName("ZKW_VGeom2D_Rect"));
      line->SetPhysics(std::unique_ptr<ZKW_PtclSysPhys_Points>(fig));
    }
    line->mode.RawValue() = mode == 3 ? 5 : mode;
    line->anchor.SetValue(static_cast<unsigned>(50 * (mode % 3)));
    line->textureScale.SetValue(static_cast<unsigned>(100 * mode));
    line->segments.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
    line->segments.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
    ZKW_StraightWidehtLine& first = *line->segments.Value()[0];
    first.width.envelope.SetGraph(envelope({{0, 1}, {0.25f, 0.5f}, {0.5f, 2}, {1, 1}}));
    first.opacity.envelope.SetGraph(envelope({{0, 0}, {0.25f, 1}, {0.25f, 0.5f}, {1, 1}}));
    first.width.spread.SetValue(40);
    first.opacity.spread.SetValue(150);
    line->segments.Value()[1]->SetValue(0);
    line->segments.Value()[2]->opacity.value.SetValue(60);
    if (mode == 1) {
      auto picture = CreateByName(GetTextureSrcRegistry(), u"ZKW_SoftCircleTex");
      line->texture.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(std::move(picture)));
      line->options.glow.enabled.RawValue() = 1;
      line->options.radialGlow.enabled.RawValue() = 1;
      line->options.shadow.enabled.RawValue() = 1;
    }
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(line)));
  }
  auto empty = std::make_unique<ZKW_PtclSysNode_Line>();
  empty->segments.Clear();
  empty->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::make_unique<ZKW_PtclSysNode_Line>()));
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(empty)));
  slide->savedObjects.emplace_back(std::move(system));
  return slide;
}

// A preset tree: a point stem carrying a stem of every source kind, each with a glowing leaf and
// a balloon below it, and a ready-made preset of one leaf. Trails and curves join the tree.
std::unique_ptr<DS_SlideContainer> PresetTreeSlide() {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  const auto source = [](const char* name) {
    std::unique_ptr<ZKW_IOF_Item> item = CreateIofItemByName(name);
    auto* typed = dynamic_cast<ZKW_PtclSys_Geometry*>(item.get());
    if (typed != nullptr) item.release();
    return DS_SafePtr<ZKW_PtclSys_Geometry>(std::unique_ptr<ZKW_PtclSys_Geometry>(typed));
  };
  const auto leaf = [&](int glowMode) {
    auto node = std::make_unique<ZKW_PSTree_Leaf>(source("ZKW_PSGeometry_Point"));
    node->size.RawValue() = 8;
    node->glowMode.RawValue() = glowMode;
    return DS_SafePtr<ZKW_PSTree_Node>(std::move(node));
  };
  auto root = std::make_unique<ZKW_PSTree_Root>();
  auto top = std::make_unique<ZKW_PSTree_Stem>(source("ZKW_PSGeometry_Point"));
  int glowMode = 0;
  for (const char* kind :
       {"ZKW_PSGeomEmit_Point", "ZKW_PSGeomEmit_Circular", "ZKW_PSGeomEmit_Sector",
        "ZKW_PSGeomEmit_Rect", "ZKW_PSGeomEmit_Field", "ZKW_PSGeomEmit_Stream",
        "ZKW_PSGeomEmit_Line", "ZKW_PSGeomEmit_Path", "ZKW_PSGeometry_Swarm",
        "ZKW_PSGeometry_Trace", "ZKW_PSSource_Group", "ZKW_PtclSys_Geometry"}) {
    auto stem = std::make_unique<ZKW_PSTree_Stem>(source(kind));
    stem->AddChild(leaf(glowMode++ % 3));
    auto balloon = std::make_unique<ZKW_PartyBalloon>(source("ZKW_PSGeometry_Point"));
    balloon->secondLightMapOpacity.RawValue() = 100;
    stem->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(balloon)));
    top->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(stem)));
  }
  // Preset-tree lines: trails behind a swarm, and a curve node of every curve physics kind, the
  // last two with an inner glow, one of them right under the root.
  auto swarm = std::make_unique<ZKW_PSTree_Stem>(source("ZKW_PSGeometry_Swarm"));
  auto trail = std::make_unique<ZKW_PSTree_Trace>(source("ZKW_PSGeometry_Trace"));
  trail->size.RawValue() = 6;
  trail->trailLife.RawValue() = 0.5f;
  swarm->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(trail)));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(swarm)));
  int curveKind = 0;
  for (const char* kind : {"ZKW_PtclSysPhys_LineCurv", "ZKW_PtclSysPhys_FractalCurv",
                           "ZKW_PtclSysPhys_RandomCurv", "ZKW_PtclSysPhys_PerlinCurv"}) {
    auto curve = std::make_unique<ZKW_PSTree_Curve>(source("ZKW_PSGeometry_Point"));
    std::unique_ptr<ZKW_IOF_Item> item = CreateIofItemByName(kind);
    if (auto* physics = dynamic_cast<ZKW_PtclSys_Physics*>(item.get())) {
      item.release();
      curve->SelectPhysics(2 + curveKind, std::unique_ptr<ZKW_PtclSys_Physics>(physics));
    }
    curve->glowMode.RawValue() = curveKind % 3;
    curve->innerGlowSize.RawValue() = curveKind >= 2 ? 40 : 0;
    if (curveKind++ == 3)
      root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(curve)));
    else
      top->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(curve)));
  }
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(top)));
  slide->savedObjects.emplace_back(std::move(root));
  auto preset = std::make_unique<ZKW_PtclSysPreset>();
  preset->floats = {1.0f};
  preset->values.emplace_back(2u);
  preset->AddChild(leaf(1));
  slide->savedObjects.emplace_back(std::move(preset));
  return slide;
}

// A template: the slides as a project, with the player's (empty) document after them.
std::vector<uint8_t> ProjectBytes(const DS_SlideShow_Light& root) {
  DS_IOF_Archive archive(std::make_unique<DS_IOF_W>());
  archive.io().WriteWideString(kProjectSignature);
  archive.io().WriteDword(1);
  root.Save(archive);
  DS_DocResManager().Save(archive);
  return static_cast<DS_IOF_W&>(archive.io()).TakeBytes();
}

// A run's play, bounded so that every input stays quick: the first slides, a few frames of each,
// short and long ones as the player's clock gives them. A slide is played for less time than the
// pre-warm its objects do themselves.
constexpr size_t kPlayedSlides = 4;
constexpr double kFrameSteps[] = {0.1, 1.5};

// The templates: the opening slides with the playlist, then one slide of each theme.
std::vector<std::vector<uint8_t>> TemplateProjects() {
  std::vector<std::vector<uint8_t>> templates;
  const auto add = [&](std::unique_ptr<DS_SlideContainer> slide) {
    DS_SlideShow_Light root;
    root.slides.emplace_back(std::move(slide));
    templates.push_back(ProjectBytes(root));
  };
  DS_SlideShow_Light opening;
  for (int i = 0; i < 3; ++i) {
    auto slide = std::make_unique<DS_SlideContainer>();
    slide->fadeIn.RawValue() = 0.5f * float(i);
    slide->mode.RawValue() = i == 2 ? DS_SlideContainer::kStays : 0;
    // The first slide ends within the frames played, so that the next one follows it.
    if (i == 0) {
      slide->hold.RawValue() = 0.1f;
      slide->fadeOut.RawValue() = 0.1f;
    }
    slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
    slide->renderer->camera.mode.RawValue() = i;
    slide->renderer->backgroundLink = DS_ImageFileLink(u"picture.png", 7);
    // An object description on every slide, so that the search reaches the description, the
    // timeline kinds (continuous, random, manual) and the sound records behind them.
    auto sound = std::make_unique<DS_WAV_Constructor>();
    sound->timing.SetValue(i);
    slide->savedObjects.emplace_back(std::move(sound));
    opening.slides.emplace_back(std::move(slide));
  }
  auto track = std::make_unique<DS_AudioFile>();
  track->file = {u"track.ogg", {1, 2, 3}};
  opening.playlist.emplace_back(std::move(track));
  templates.push_back(ProjectBytes(opening));
  // The renderer kinds with records of their own (an embedded brush's among them). The water
  // ring has its smallest grid, whose sizes lie in the data for the search to change; the glass
  // ball scrolls before its backdrop picture at size 0, and the glyphs start from the values
  // the renderer must take in range (density and flicker count 0).
  for (const char16_t* kind : {u"FakeUndervater", u"DS_FlameLight", u"FakeLake2D",
                               u"DS_WaterRingLight", u"DS_GlassBallLight", u"DS_MatrixCodeLight"}) {
    auto slide = std::make_unique<DS_SlideContainer>();
    slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), kind));
    if (auto* lake = dynamic_cast<FakeLake2D*>(slide->renderer.Get()))
      lake->bumpKey.guid = GUID::Parse(u"{4C414B45-0000-0000-0000-000000000001}");
    if (auto* drops = dynamic_cast<DS_WaterRingLight*>(slide->renderer.Get()))
      drops->mode.RawValue() = 1;
    if (auto* ball = dynamic_cast<DS_GlassBallLight*>(slide->renderer.Get())) {
      ball->motion.RawValue() = 1;
      ball->backdropMode.RawValue() = 1;
      ball->lowerOn.RawValue() = 1;
      ball->size.RawValue() = 0;
    }
    if (auto* glyphs = dynamic_cast<DS_MatrixCodeLight*>(slide->renderer.Get())) {
      glyphs->density.RawValue() = 0;
      glyphs->flickerCount.RawValue() = 0;
      glyphs->glitch.RawValue() = 1;
      glyphs->backgroundMode.RawValue() = 1;
      glyphs->layer.RawValue() = 1;
    }
    add(std::move(slide));
  }
  // A slide of every brush kind, each at the values its arithmetic must survive: a scale of 0,
  // an ellipse ratio of 0 and bands (wave lengths, ring stretch, band widths) of 0; modes 0 to
  // 2 in turn.
  auto brushes = std::make_unique<DS_SlideContainer>();
  brushes->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<DS_FX_Constructor>> kinds;
  auto waves = std::make_unique<DS_WavesFX>();
  waves->wavelength.SetValue(0);
  kinds.push_back(std::move(waves));
  auto rings = std::make_unique<DS_RadialWaveFX>();
  rings->wavelength.SetValue(0);
  rings->ringStretch.SetValue(0);
  kinds.push_back(std::move(rings));
  kinds.push_back(std::make_unique<DS_ExpandFX>());
  kinds.push_back(std::make_unique<DS_RotationFX>());
  kinds.push_back(std::make_unique<DS_BendFX>());
  kinds.push_back(std::make_unique<DS_QuorbelRadial>());
  kinds.push_back(std::make_unique<DS_QuorbelVortical>());
  kinds.push_back(std::make_unique<DS_PerspectiveFX>());
  kinds.push_back(std::make_unique<DS_StretchFX>());
  // The colour, light, layer and relief kinds: bands of no width, a blend mode without a
  // technique, a light band whose ends meet, a pattern of scale 0 from a module's picture pack
  // and one from a file, and a bump picture of the resource library.
  auto shift = std::make_unique<DS_ColorShiftFX>();
  shift->hueMode.RawValue() = 1;
  kinds.push_back(std::move(shift));
  auto band = std::make_unique<DS_SaturationWaveFX>();
  band->bandWidth.RawValue() = 0;
  kinds.push_back(std::move(band));
  kinds.push_back(std::make_unique<DS_SaturationFX>());
  kinds.push_back(std::make_unique<DS_DayToNight>());
  kinds.push_back(std::make_unique<DS_LightFX>());
  auto light = std::make_unique<DS_LightFX_II>();
  light->blendMode.RawValue() = 6;
  light->targetMode.RawValue() = 2;
  kinds.push_back(std::move(light));
  auto wave = std::make_unique<DS_LightWaveFX>();
  wave->pulseMode.RawValue() = 1;
  wave->oneWay.RawValue() = 1;
  kinds.push_back(std::move(wave));
  kinds.push_back(std::make_unique<DS_EraseLayerFX>());
  auto blur = std::make_unique<DS_BlureFX>();
  blur->radius.RawValue() = 0xFFFFFFFFu;
  kinds.push_back(std::move(blur));
  auto pattern = std::make_unique<DS_PatternBrush>();
  pattern->patternScale.SetValue(0);
  pattern->patternLink = DS_ImageFileLink(u"glimres.dll", 78);
  kinds.push_back(std::move(pattern));
  auto patternC = std::make_unique<DS_PatternBrushC>();
  patternC->patternLink = DS_ImageFileLink(u"picture.png", 7);
  kinds.push_back(std::move(patternC));
  kinds.push_back(std::make_unique<DS_HeatDistortion>());
  auto bump = std::make_unique<DS_BumpFX>();
  bump->bumpPicture = DS_ImageFileLink(u"glimres.dll", 89);
  kinds.push_back(std::move(bump));
  for (size_t i = 0; i < kinds.size(); ++i) {
    kinds[i]->scale.SetValue(0);
    kinds[i]->mode.RawValue() = int(i % 3);
    kinds[i]->maskQuad.SetRect(4, 4, D3DXVECTOR3(2, 2, 0));
    brushes->savedObjects.push_back(std::move(kinds[i]));
  }
  add(std::move(brushes));
  // The sprite presets: a sparkle, a god ray and a discharge on pictures of the player's own,
  // so that the search reaches every version branch of the preset record and the glow kinds.
  {
    auto slide = std::make_unique<DS_SlideContainer>();
    slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
    auto sparkle = std::make_unique<DS_SparkleConstructor>();
    sparkle->count.RawValue() = 4;
    sparkle->size.RawValue() = 8;
    sparkle->pulseRate = 0.5f;
    sparkle->frameStrip = true;
    sparkle->frameCount = 2;
    sparkle->frameRate = 5.0f;
    sparkle->picture = DS_ImageFileLink(u"glimres.dll", 79);
    slide->savedObjects.emplace_back(std::move(sparkle));
    auto ray = std::make_unique<DS_GodRayConstructor>();
    ray->count.RawValue() = 2;
    ray->pictureSource = 1;
    ray->picture = DS_ImageFileLink(u"glimres.dll", 76);
    ray->secondPicture = DS_ImageFileLink(u"glimres.dll", 75);
    slide->savedObjects.emplace_back(std::move(ray));
    auto discharge = std::make_unique<DS_DischargeFXConstructor>();
    discharge->count.RawValue() = 3;
    discharge->startPoint.RawValue() = D3DXVECTOR3(10.0f, 10.0f, 0.0f);
    discharge->endPoint.RawValue() = D3DXVECTOR3(90.0f, 40.0f, 0.0f);
    slide->savedObjects.emplace_back(std::move(discharge));
    add(std::move(slide));
  }
  add(ParticleSlide());
  // The text kinds: a flat text at a fill scale of 0, and 3D texts whose mesh blocks are whole,
  // of a stride that is not their FVF's, with an index past their vertices, and with huge
  // vertex counts or strides that take no bytes.
  auto texts = std::make_unique<DS_SlideContainer>();
  texts->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  auto flat = std::make_unique<ZKW_2DTex>();
  flat->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1902);
  flat->quad.SetRect(8, 4, D3DXVECTOR3(4, 2, 0));
  flat->pictures.RawValue().links = {DS_ImageFileLink(u"picture.png", 7),
                                     DS_ImageFileLink(u"picture.png", 7),
                                     DS_ImageFileLink(u"picture.png", 7)};
  flat->fillWithPicture.RawValue() = 1;
  flat->fillPicture.RawValue().links = {DS_ImageFileLink(u"picture.png", 7)};
  flat->fillScale.SetValue(0);
  flat->shadow.enabled.RawValue() = 1;
  flat->fadeInKind.RawValue() = 2;
  flat->fadeOutKind.RawValue() = 8;
  flat->timing.SetValue(1);
  texts->savedObjects.push_back(std::move(flat));
  texts->savedObjects.push_back(TriangleText([](GlyphMeshBlock&) {}));
  texts->savedObjects.push_back(TriangleText([](GlyphMeshBlock& b) {
    b.stride = 28;
    b.vertices.resize(3 * 28);
  }));
  texts->savedObjects.push_back(TriangleText([](GlyphMeshBlock& b) { b.indices[2] = 3; }));
  texts->savedObjects.push_back(TriangleText([](GlyphMeshBlock& b) {
    b.vertexCount = 0xFFFFFFFF;
    b.stride = 0;
    b.vertices.clear();
  }));
  texts->savedObjects.push_back(TriangleText([](GlyphMeshBlock& b) {
    b.vertexCount = 0;
    b.stride = 0xFFFFFFFF;
    b.vertices.clear();
  }));
  AddTextsAndLinks(*texts);
  add(std::move(texts));
  // A slide of the direction, sky, water, copy and fire kinds at the values their arithmetic
  // and their links must survive: 2^32 - 1 waterfall layers, water surface values 0 and 10000,
  // a copy linked to itself and two linked to each other; modes 0 to 2 in turn.
  auto scenery = std::make_unique<DS_SlideContainer>();
  scenery->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), u"DS_2D_Light"));
  std::vector<std::unique_ptr<DS_FX_Constructor>> more;
  auto move = std::make_unique<DS_MoveFX>();
  move->moveMode.RawValue() = 5;
  more.push_back(std::move(move));
  more.push_back(std::make_unique<DS_QuorbelLinear>());
  auto fall = std::make_unique<DS_WaterfallFX>();
  fall->layerCount.RawValue() = 0xFFFFFFFFu;
  fall->noiseAmplitude.SetValue(100);
  fall->noiseLink = DS_ImageFileLink(u"glimres.dll", 86);
  more.push_back(std::move(fall));
  auto clouds = std::make_unique<DS_CloudFX>();
  clouds->cloudLink = DS_ImageFileLink(u"glimres.dll", 87);
  clouds->perspective.flipFlag.RawValue() = 1;
  more.push_back(std::move(clouds));
  for (unsigned surface : {0u, 10000u}) {
    auto water = std::make_unique<DS_WaterFX>();
    water->surface.SetValue(surface);
    more.push_back(std::move(water));
  }
  const GUID self = GUID::Parse(u"{434F5059-0000-0000-0000-000000000001}");
  const GUID first = GUID::Parse(u"{434F5059-0000-0000-0000-000000000002}");
  const GUID second = GUID::Parse(u"{434F5059-0000-0000-0000-000000000003}");
  for (const auto& [guid, source] : {std::pair{self, self}, std::pair{first, second},
                                     std::pair{second, first}, std::pair{GUID(), GUID()}}) {
    auto copy = std::make_unique<DS_BackgroundCopy>();
    copy->guid = guid;
    copy->source.RawValue() = source;
    copy->horizontalFlag.RawValue() = 1;
    copy->rectangle.extra1.RawValue() = -7;
    more.push_back(std::move(copy));
  }
  more.push_back(std::make_unique<DS_FireFX>());
  for (size_t i = 0; i < more.size(); ++i) {
    more[i]->scale.SetValue(0);
    more[i]->mode.RawValue() = int(i % 3);
    more[i]->maskQuad.SetRect(4, 4, D3DXVECTOR3(2, 2, 0));
    scenery->savedObjects.push_back(std::move(more[i]));
  }
  add(std::move(scenery));
  add(SpriteFamiliesSlide());
  add(GeneratorSlide());
  add(PositionedGeneratorSlide());
  add(PictureGeneratorSlide());
  add(SystemsSlide());
  add(LineSlide());
  add(ModelSlide());
  add(NodeTreeSlide());
  add(StreamsSlide());
  add(PresetTreeSlide());
  add(NodeLinesSlide());
  return templates;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // A run reaches tens of thousands of features, and libFuzzer's entropic schedule looks each up
  // in its list of rare features, which it only prunes once a feature has been seen more often
  // than this threshold (255 by default): until then the look-ups took most of the time. The
  // flag goes first, so that one given on the command line still decides.
  static char threshold[] = "-entropic_feature_frequency_threshold=1";
  static std::vector<char*> args;
  args.assign(*argv, *argv + *argc);
  args.insert(args.begin() + std::min<ptrdiff_t>(1, *argc), threshold);
  args.push_back(nullptr);
  *argc = static_cast<int>(args.size()) - 1;
  *argv = args.data();
  RegisterProgramClasses();
  // The same bytes on every run: GUIDs that objects make for themselves come in a fixed order.
  GUID::MakeCreationRepeatable(1);
  // Pre-warms of 30 s and 20,000 particle updates at most: the templates' systems warm whole,
  // and the counts and lifetimes the search makes large cannot take seconds a run.
  ZKW_ParticleSystemCtrl::LimitPrewarm(300, 20'000);
  // Emission fills a system's lists to 4,096 particles, not 131,072: the caps are still reached,
  // without an input whose rates the search raised taking tens of seconds.
  LowerEmittedParticleCap(4096);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<std::vector<uint8_t>> kTemplates = TemplateProjects();
  static RenderContext context;
  // A clock of this input's own: controllers made by a load that fails are never ticked away,
  // and a clock kept from input to input would hold them all, growing with every such input.
  ChronoClock clock;
  RenderContextTlsSlot::Set(&context);
  ChronoTlsSlot::Set(&clock);

  std::vector<uint8_t> bytes(data, data + size);
  if (size >= 5 && (data[0] & 1) != 0 && data[0] != 0xFF) {
    bytes = kTemplates[size_t(data[0] >> 1) % kTemplates.size()];
    uint32_t offset = 0;
    std::memcpy(&offset, data + 1, 4);
    offset %= bytes.size();
    const size_t n = std::min(size - 5, bytes.size() - offset);
    std::memcpy(bytes.data() + offset, data + 5, n);
  }
  try {
    std::unique_ptr<DS_SlideShow_Light> scene = LoadProjectFromMemory(bytes);
    for (const auto& slide : scene->slides)
      if (slide) slide->Start();
    // The first slide as the player starts it, then each next one from a jump.
    double t = 0.0;
    for (size_t i = 0; i < std::min(scene->slides.size(), kPlayedSlides); ++i) {
      if (i > 0) scene->JumpTo(static_cast<unsigned>(i));
      for (double step : kFrameSteps) {
        scene->Update(t += step);
        scene->Render(0);
      }
    }
    DS_IOF_Archive out(std::make_unique<DS_IOF_W>());
    scene->Save(out);
  } catch (const DS_Error&) {
  }
  DocumentTlsSlot::Reset();
  ChronoTlsSlot::Set(nullptr);
  return 0;
}
