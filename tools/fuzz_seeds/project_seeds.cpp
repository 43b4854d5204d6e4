// Projects written by the project writer, and document bodies in their stored form.
#include "core/guid.h"
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
#include "objects/sprites/generators/ds_aurora.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_custom_air_brush.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"
#include "objects/text3d/glyph_fixture.h"
#include "objects/text3d/zkw_2d_tex.h"
#include "objects/text3d/zkw_3d_tex.h"
#include "particles/classic/kinds/brown_animation.h"
#include "particles/classic/kinds/field_ptcl_sys.h"
#include "particles/classic/kinds/firefly.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "particles/classic/kinds/rain_on_glass.h"
#include "particles/classic/kinds/ray_of_light.h"
#include "particles/classic/kinds/single_object_path.h"
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
#include "platform/audio/wave_bytes.h"
#include "platform/gfx/image/dds_writer.h"
#include "platform/gfx_image/picture_bytes.h"
#include "player/music/ds_audio_file.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "player/sound/ds_mp3_constructor.h"
#include "player/sound/ds_wav_constructor.h"
#include "player/support/body_writer.h"
#include "renderers/brush/ds_fire_fx.h"
#include "renderers/glass_ball/ds_glass_ball_light.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/matrix_code/ds_matrix_code_light.h"
#include "renderers/water_ring/ds_water_ring_light.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"
#include "tools/project_writer/project_builder.h"

namespace fuzz_seeds {

namespace {

std::vector<uint8_t> Png(int width, int height, uint32_t colour) {
  return gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, width, height, 4,
                                       gfx_image_test::Words(size_t(width) * height, colour));
}

std::vector<uint8_t> OneSlide() {
  ProjectBuilder project;
  project.AddSlide(0.5f, 2.0f, 0.5f);
  return project.Write();
}

// Pictures behind three slides (one a GIF), every camera mode, a slide that stays, music.
std::vector<uint8_t> PicturesAndMusic() {
  ProjectBuilder project;
  const std::vector<uint8_t> pictures[] = {Png(8, 4, 0xFFFF0000), gfx_image_test::TwoPixelGif(true),
                                           Png(3, 5, 0x80336699)};
  const char16_t* names[] = {u"red.png", u"two.gif", u"blue.png"};
  for (int i = 0; i < 3; ++i) {
    DS_SlideContainer& slide = project.AddSlide(0.5f * float(i), 2.0f, 1.0f);
    DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide);
    renderer->backgroundLink = project.StorePicture(names[i], pictures[i]);
    renderer->camera.mode.RawValue() = i;
    if (i == 2) slide.mode.SetValueSilently(DS_SlideContainer::kStays);
  }
  project.AddTrack(u"Song", u"C:\\Music\\song.mp3", {1, 2, 3}, 75);
  project.AddTrack(u"Other", u"other.ogg", {});
  project.Root().setting.RawValue() = 5;
  return project.Write();
}

// Sounds on every slide, one per timeline kind.
std::vector<uint8_t> Sounds() {
  ProjectBuilder project;
  for (int i = 0; i < 4; ++i) {
    DS_SlideContainer& slide = project.AddSlide(0.25f, 1.0f, 0.25f);
    auto wav = std::make_unique<DS_WAV_Constructor>();
    wav->link = project.StorePicture(u"ding" + FromUtf8(std::to_string(i)) + u".wav",
                                     wave_bytes::Tone(0.01));
    wav->timing.SetValue(i);
    slide.savedObjects.push_back(std::move(wav));
    auto mp3 = std::make_unique<DS_MP3_Constructor>();
    mp3->file.path = u"C:\\Sounds\\tone.mp3";
    mp3->file.bytes = {0xFF, 0xFB, 0x90, 0x00};
    mp3->timing.SetValue(3 - i);
    slide.savedObjects.push_back(std::move(mp3));
  }
  return project.Write();
}

// A lake with a V8U8 ripple map under its GUID, and water rings in both modes on a wide picture.
std::vector<uint8_t> LakeAndDrops() {
  ProjectBuilder project;
  const DS_ImageFileLink wide = project.StorePicture(u"wide.png", Png(12, 4, 0xFF204080));
  DS_SlideContainer& lakeSlide = project.AddSlide(0.5f, 2.0f, 0.5f, u"FakeLake2D");
  auto* lake = static_cast<FakeLake2D*>(ProjectBuilder::RendererOf(lakeSlide));
  lake->backgroundLink = wide;
  lake->bumpKey.guid = GUID::Parse(u"{4C414B45-0000-0000-0000-000000000002}");
  gfx::image::DdsImage ripples{gfx::Format::V8U8, 4, 4, {std::vector<uint8_t>(32, 0x40)}};
  project.StoreGuidPicture(lake->bumpKey.guid, gfx::image::WriteDds(ripples));
  for (int mode : {0, 1}) {
    DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f, u"DS_WaterRingLight");
    auto* drops = static_cast<DS_WaterRingLight*>(ProjectBuilder::RendererOf(slide));
    drops->backgroundLink = wide;
    drops->mode.SetValue(mode);
    drops->dropsPerMinute.SetValue(600);
    drops->rows.SetValue(50 * mode);
  }
  return project.Write();
}

// Glass balls on a wide picture: one scrolling before a backdrop picture with a strong lens, one
// swinging before a gradient; glyphs of a stored strip over black and over nothing, in both
// layers, with glitches and tiny cells.
std::vector<uint8_t> GlassAndGlyphs() {
  ProjectBuilder project;
  const DS_ImageFileLink wide = project.StorePicture(u"wide.png", Png(12, 4, 0xFF204080));
  const DS_ImageFileLink tall = project.StorePicture(u"tall.png", Png(3, 9, 0xFFC08040));
  for (int motion : {2, 3}) {
    DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f, u"DS_GlassBallLight");
    auto* ball = static_cast<DS_GlassBallLight*>(ProjectBuilder::RendererOf(slide));
    ball->backgroundLink = wide;
    ball->motion.SetValue(motion);
    ball->backdropMode.SetValue(motion == 2 ? 1 : 0);
    ball->backdropLink = tall;
    ball->lens.SetValue(100);
    ball->lowerOn.SetValue(1);
    ball->position.SetValue({-100, 60});
  }
  const DS_ImageFileLink strip = project.StorePicture(u"strip.png", Png(4, 16, 0xFFFFFFFF));
  for (int mode : {1, 2}) {
    DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f, u"DS_MatrixCodeLight");
    auto* glyphs = static_cast<DS_MatrixCodeLight*>(ProjectBuilder::RendererOf(slide));
    glyphs->backgroundLink = wide;
    glyphs->glyphLink = strip;
    glyphs->backgroundMode.SetValue(mode);
    glyphs->layer.SetValue(mode - 1);
    glyphs->cellSize.SetValue(2);
    glyphs->density.SetValue(100);
    glyphs->glitch.SetValue(1);
    glyphs->startMode.SetValue(mode);
  }
  return project.Write();
}

// Every brush kind on a picture slide, in each mode, with mask quads, one brush with a mask
// picture under its GUID, and one aimed at a target point of its own kind.
std::vector<uint8_t> Brushes() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.25f, 1.0f, 0.25f);
  ProjectBuilder::RendererOf(slide)->backgroundLink =
      project.StorePicture(u"sea.png", Png(16, 8, 0xFF2040A0));
  std::vector<std::unique_ptr<DS_FX_Constructor>> brushes;
  brushes.push_back(std::make_unique<DS_WavesFX>());
  brushes.push_back(std::make_unique<DS_RadialWaveFX>());
  brushes.push_back(std::make_unique<DS_ExpandFX>());
  brushes.push_back(std::make_unique<DS_RotationFX>());
  brushes.push_back(std::make_unique<DS_BendFX>());
  brushes.push_back(std::make_unique<DS_QuorbelRadial>());
  brushes.push_back(std::make_unique<DS_QuorbelVortical>());
  brushes.push_back(std::make_unique<DS_PerspectiveFX>());
  brushes.push_back(std::make_unique<DS_StretchFX>());
  for (size_t i = 0; i < brushes.size(); ++i) {
    DS_FX_Constructor& brush = *brushes[i];
    brush.mode.RawValue() = int(i % 4);
    brush.maskQuad.SetRect(8, 4, D3DXVECTOR3(8, 4, 0));
    brush.angle.SetValue(unsigned(i * 10));
    // The kinds without a link of their own, from the rotation on, take effects 2101-2106.
    if (brush.effectLink.name.empty())
      brush.effectLink = DS_HLSLEffectFile(u"glimres.dll", 2101 + int64_t(i) - 3);
    brush.timing.SetValue(int(i % 3));
  }
  project.StoreGuidPicture(brushes[1]->maskId, Png(4, 4, 0x80FFFFFF));
  for (auto& brush : brushes)
    slide.savedObjects.push_back(std::move(brush));
  return project.Write();
}

// The sprite presets on one slide: sparkles on a stored picture strip, god rays taking their
// picture's texture set, a discharge with its glow.
std::vector<uint8_t> SpritePresets() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.25f, 2.0f, 0.25f);
  auto sparkle = std::make_unique<DS_SparkleConstructor>();
  sparkle->count.SetValue(6);
  sparkle->size.SetValue(10);
  sparkle->pulseRate = 0.8f;
  sparkle->frameStrip = true;
  sparkle->frameCount = 2;
  sparkle->frameRate = 4.0f;
  sparkle->picture = project.StorePicture(u"strip.png", Png(8, 4, 0xFFFFFF80));
  slide.savedObjects.push_back(std::move(sparkle));
  auto ray = std::make_unique<DS_GodRayConstructor>();
  ray->count.SetValue(2);
  ray->pictureSource = 2;
  ray->horizontalFlip.SetValue(1);
  ray->picture = DS_ImageFileLink(u"glimres.dll", 76);
  slide.savedObjects.push_back(std::move(ray));
  auto discharge = std::make_unique<DS_DischargeFXConstructor>();
  discharge->count.SetValue(4);
  discharge->startPoint.SetValue(D3DXVECTOR3(5, 5, 0));
  discharge->endPoint.SetValue(D3DXVECTOR3(60, 30, 0));
  discharge->secondPicture = DS_ImageFileLink(u"glimres.dll", 95);
  slide.savedObjects.push_back(std::move(discharge));
  return project.Write();
}

// A fountain of each glow mode on a slide, its picture stored as frames, a burst beside.
std::vector<uint8_t> Particles() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f);
  const DS_ImageFileLink spot = project.StoreFramePicture(u"spot.png", Png(4, 4, 0x80FFFFFF));
  for (int glow = 0; glow < 3; ++glow) {
    auto fountain = std::make_unique<DS_PtclSmoke>();
    fountain->appearance.picture.SetValue(DS_NamedFileLinkData({spot}));
    fountain->appearance.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
    fountain->appearance.glowMode.SetValue(glow);
    fountain->appearance.size.SetValue(6);
    fountain->startSpeed.SetValue(3);
    fountain->distance.SetValue(30);
    slide.savedObjects.push_back(std::move(fountain));
  }
  auto burst = std::make_unique<ZKW_BurstPtclSys>();
  burst->count.SetValue(30);
  burst->startSpeed.SetValue(4);
  burst->distance.SetValue(40);
  burst->timing.SetValue(1);
  slide.savedObjects.push_back(std::move(burst));
  return project.Write();
}

// A flat text whose pictures (text, text effect, plate) and two-frame fill are stored with the
// project, and 3D texts of two box glyphs moving every way; with `hugeMesh` the last one's mesh
// block claims more faces than the file holds, so that the project is refused there.
std::vector<uint8_t> TextObjects(bool hugeMesh) {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.25f, 1.0f, 0.25f);
  auto flat = std::make_unique<ZKW_2DTex>();
  flat->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1902);
  flat->quad.SetRect(12, 6, D3DXVECTOR3(8, 4, 0));
  flat->pictures.SetValue(
      DS_NamedFileLinkData({project.StoreFrames(u"text.png", {{Png(12, 6, 0xFFFFFFFF), 0.0f}}),
                            project.StoreFrames(u"halo.png", {{Png(12, 6, 0x40000000), 0.0f}}),
                            project.StoreFrames(u"plate.png", {{Png(4, 4, 0x80203040), 0.0f}})}));
  flat->fillWithPicture.SetValue(1);
  flat->fillPicture.SetValue(DS_NamedFileLinkData({project.StoreFrames(
      u"fill.png", {{Png(4, 4, 0xFFFF8000), 0.1f}, {Png(4, 4, 0xFF0080FF), 0.1f}})}));
  flat->shadow.enabled.SetValue(1);
  flat->shadow.amount.SetValue(2);
  flat->fadeInKind.SetValue(4);
  flat->fadeOutKind.SetValue(7);
  flat->text.value1.SetValue(1);
  flat->text.value2.SetValue(2);
  flat->timing.SetValue(1);
  slide.savedObjects.push_back(std::move(flat));
  for (int motion = 0; motion < 7; ++motion) {
    auto solid = std::make_unique<ZKW_3DTex>();
    solid->SetGlyphs(text3d_test::Boxes(2));
    solid->text.font.size.SetValue(4);
    solid->objectMotion.SetValue(motion % 5);
    solid->rotationAxis.SetValue(motion % 3);
    solid->glyphMotion.SetValue(motion);
    solid->glyphLoop.SetValue(motion % 2);
    solid->glyphDelay.SetValue(100);
    solid->arcAngle.SetValue(unsigned(motion * 30));
    solid->arcSide.SetValue(motion % 2);
    if (hugeMesh && motion == 6) solid->glyphs.mesh.faceCount = 0x1999999A;
    slide.savedObjects.push_back(std::move(solid));
  }
  return project.Write();
}

// The colour, light, layer and relief brushes on a picture slide, each with its effect, in modes
// 0 to 2: a light band and a light in every target mode, a pattern picture stored with the
// project, a bump picture of the resource library, a blur under a mask picture.
std::vector<uint8_t> ColourAndLayerBrushes() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.25f, 1.0f, 0.25f);
  ProjectBuilder::RendererOf(slide)->backgroundLink =
      project.StorePicture(u"dawn.png", Png(16, 8, 0xFFC06040));
  std::vector<std::unique_ptr<DS_FX_Constructor>> brushes;
  auto link = [](auto brush, int64_t id) {
    brush->effectLink = DS_HLSLEffectFile(u"glimres.dll", id);
    return brush;
  };
  brushes.push_back(link(std::make_unique<DS_ColorShiftFX>(), 2111));
  brushes.push_back(link(std::make_unique<DS_SaturationWaveFX>(), 2112));
  brushes.push_back(link(std::make_unique<DS_SaturationFX>(), 2112));
  brushes.push_back(link(std::make_unique<DS_DayToNight>(), 2113));
  brushes.push_back(std::make_unique<DS_LightFX>());
  for (int targetMode : {0, 1, 2}) {
    auto light = link(std::make_unique<DS_LightFX_II>(), 190);
    light->targetMode.SetValue(targetMode);
    light->blendMode.SetValue(targetMode * 2 + 1);
    light->pulseMode.SetValue(targetMode + 1);
    brushes.push_back(std::move(light));
  }
  auto wave = link(std::make_unique<DS_LightWaveFX>(), 190);
  wave->startPoint.SetValue(D3DXVECTOR3(0, 4, 0));
  wave->endPoint.SetValue(D3DXVECTOR3(16, 4, 0));
  wave->bandWidth.SetValue(4);
  wave->pulseMode.SetValue(2);
  wave->oneWay.SetValue(1);
  brushes.push_back(std::move(wave));
  brushes.push_back(link(std::make_unique<DS_EraseLayerFX>(), 2114));
  auto blur = link(std::make_unique<DS_BlureFX>(), 2115);
  blur->radius.SetValue(6);
  project.StoreGuidPicture(blur->maskId, Png(4, 4, 0xFFFFFFFF));
  brushes.push_back(std::move(blur));
  auto pattern = std::make_unique<DS_PatternBrushC>();
  pattern->patternLink = project.StorePicture(u"tile.png", Png(4, 2, 0x80FFFFFF));
  pattern->patternAngle.SetValue(30);
  pattern->flipVertical.SetValue(1);
  brushes.push_back(std::move(pattern));
  auto heat = link(std::make_unique<DS_HeatDistortion>(), 63);
  heat->strength.SetValue(50);
  brushes.push_back(std::move(heat));
  auto bump = link(std::make_unique<DS_BumpFX>(), 2116);
  bump->bumpPicture = DS_ImageFileLink(u"glimres.dll", 89);
  brushes.push_back(std::move(bump));
  for (size_t i = 0; i < brushes.size(); ++i) {
    DS_FX_Constructor& brush = *brushes[i];
    if (brush.mode.Value() == 0) brush.mode.RawValue() = int(i % 3);
    brush.maskQuad.SetRect(8, 4, D3DXVECTOR3(8, 4, 0));
    brush.timing.SetValue(int(i % 3));
    slide.savedObjects.push_back(std::move(brushes[i]));
  }
  return project.Write();
}

// The direction, sky, water, copy and fire kinds on a picture slide, with pictures for the
// clouds, the waterfall's noise and the fire, a copy of the clouds and one of itself.
std::vector<uint8_t> SceneryBrushes() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.25f, 1.0f, 0.25f);
  ProjectBuilder::RendererOf(slide)->backgroundLink =
      project.StorePicture(u"sea.png", Png(16, 8, 0xFF2040A0));
  const DS_ImageFileLink noise = project.StorePicture(u"noise.png", Png(4, 4, 0xFF808080));
  std::vector<std::unique_ptr<DS_FX_Constructor>> brushes;
  auto move = std::make_unique<DS_MoveFX>();
  move->moveMode.SetValue(3);
  brushes.push_back(std::move(move));
  auto linear = std::make_unique<DS_QuorbelLinear>();
  linear->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2150);
  brushes.push_back(std::move(linear));
  auto fall = std::make_unique<DS_WaterfallFX>();
  fall->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2151);
  fall->noiseLink = noise;
  fall->noiseAmplitude.SetValue(50);
  fall->layerCount.SetValue(3);
  brushes.push_back(std::move(fall));
  auto clouds = std::make_unique<DS_CloudFX>();
  clouds->effectLink = DS_HLSLEffectFile(u"glimres.dll", 2152);
  clouds->cloudLink = noise;
  clouds->guid = GUID::Parse(u"{434C4F55-0000-0000-0000-000000000001}");
  const GUID cloudGuid = clouds->guid;
  brushes.push_back(std::move(clouds));
  brushes.push_back(std::make_unique<DS_WaterFX>());
  auto mirror = std::make_unique<DS_BackgroundCopy>();
  mirror->source.SetValue(cloudGuid);
  mirror->verticalFlag.SetValue(1);
  brushes.push_back(std::move(mirror));
  auto self = std::make_unique<DS_BackgroundCopy>();
  self->guid = GUID::Parse(u"{434F5059-0000-0000-0000-000000000001}");
  self->source.SetValue(self->guid);
  brushes.push_back(std::move(self));
  auto fire = std::make_unique<DS_FireFX>();
  fire->patternLink = noise;
  brushes.push_back(std::move(fire));
  for (size_t i = 0; i < brushes.size(); ++i) {
    brushes[i]->mode.RawValue() = int(i % 3);
    brushes[i]->maskQuad.SetRect(8, 4, D3DXVECTOR3(8, 6, 0));
    slide.savedObjects.push_back(std::move(brushes[i]));
  }
  return project.Write();
}

// The sprite preset families on two slides: swimmers, flyers, ghosts on a random timeline,
// fog, lights and grass on one; flows with a control of each mode, rain, still objects, a
// crackling strip, a flower and an explosion on a random timeline on the other; pictures
// stored in the project.
std::vector<uint8_t> SpriteFamilies() {
  ProjectBuilder project;
  const DS_ImageFileLink creature = project.StorePicture(u"creature.png", Png(8, 4, 0xFFFF8000));
  const DS_ImageFileLink strip = project.StorePicture(u"strip.png", Png(12, 4, 0xFF80C0FF));
  DS_SlideContainer& first = project.AddSlide(0.25f, 2.0f, 0.25f);
  std::vector<std::unique_ptr<DS_ParticleSystemCtrl>> living;
  living.push_back(std::make_unique<DS_FishConstructor>());
  living.push_back(std::make_unique<DS_BirdConstructor>());
  auto ghost = std::make_unique<DS_GhostConstructor>();
  ghost->timing.SetValue(1);
  living.push_back(std::move(ghost));
  living.push_back(std::make_unique<DS_FogConstructor>());
  living.push_back(std::make_unique<DS_LightingConstructor>());
  living.push_back(std::make_unique<DS_GrassConstructor>());
  for (auto& kind : living) {
    kind->count.SetValue(3);
    kind->size.SetValue(6);
    kind->picture = creature;
    first.savedObjects.push_back(std::move(kind));
  }

  DS_SlideContainer& second = project.AddSlide(0.25f, 2.0f, 0.25f);
  auto flow = std::make_unique<DS_FlowConstructor>();
  flow->count.SetValue(4);
  flow->size.SetValue(5);
  flow->speed = 60.0f;
  flow->directionAngle.SetValue(135);
  flow->wobbleAmplitude.SetValue(3);
  flow->wobbleFrequency.SetValue(8);
  flow->orientationMode.SetValue(1);
  for (int side = 0; side < 4; ++side) {
    flow->controls[size_t(side)].mode.SetValue(side);
    flow->controls[size_t(side)].fadeOut.SetValue(200);
    flow->controls[size_t(side)].longestWait.SetValue(300);
  }
  flow->picture = creature;
  second.savedObjects.push_back(std::move(flow));
  auto rain = std::make_unique<DS_RainConstructor>();
  rain->count.SetValue(5);
  rain->size.SetValue(4);
  rain->pulseRate = 0.7f;
  rain->picture = creature;
  second.savedObjects.push_back(std::move(rain));
  auto still = std::make_unique<DS_StatObjConstructor>();
  still->size.SetValue(8);
  still->rotationAngle.SetValue(30);
  still->picture = creature;
  second.savedObjects.push_back(std::move(still));
  auto crackle = std::make_unique<DS_DischargeConstructor>();
  crackle->size.SetValue(8);
  crackle->frameStrip = true;
  crackle->frameCount = 3;
  crackle->frameRate = 10.0f;
  crackle->picture = strip;
  second.savedObjects.push_back(std::move(crackle));
  auto flower = std::make_unique<DS_FlowerConstructor>();
  flower->size.SetValue(8);
  flower->picture = creature;
  second.savedObjects.push_back(std::move(flower));
  auto explosion = std::make_unique<DS_ExplosionConstructor>();
  explosion->size.SetValue(20);
  explosion->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1803);
  explosion->picture = DS_ImageFileLink(u"glimres.dll", 66);
  explosion->secondPicture = DS_ImageFileLink(u"glimres.dll", 74);
  explosion->timing.SetValue(1);
  second.savedObjects.push_back(std::move(explosion));
  return project.Write();
}

// The air-brush kinds on one slide, one per blend mode, with dabs painted on: sparkles of two
// stored pictures, dabs of an animated picture stored with its frame times, twinkling stars and
// an aurora.
std::vector<uint8_t> Generators() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.25f, 2.0f, 0.25f);
  const DS_ImageFileLink spot = project.StorePicture(u"spot.png", Png(4, 4, 0x80FFFFFF));
  std::vector<std::unique_ptr<DS_AirBrush>> kinds;
  auto bling = std::make_unique<DS_Bling>();
  bling->riseTime.SetValue(20);
  bling->fallTime.SetValue(60);
  kinds.push_back(std::move(bling));
  auto custom = std::make_unique<DS_CustomAirBrush>();
  custom->ownPicture = project.StoreAnimatedPicture(
      u"frames.png", {Png(4, 4, 0xFFFF0000), Png(4, 4, 0xFF0000FF)}, {0.1f, 0.2f});
  kinds.push_back(std::move(custom));
  kinds.push_back(std::make_unique<DS_TwinklingStars>());
  auto aurora = std::make_unique<DS_Aurora>();
  aurora->curtainHeight.SetValue(12);
  aurora->stretchAmount.SetValue(40);
  aurora->swayAmount.SetValue(3);
  kinds.push_back(std::move(aurora));
  int mode = 0;
  for (auto& kind : kinds) {
    kind->pictures = {spot, DS_ImageFileLink(u"glimres.dll", 79)};
    kind->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1801);
    kind->blendMode.SetValue(mode++);
    kind->size.SetValue(6);
    for (int i = 0; i < 4; ++i)
      kind->AddParticle(D3DXVECTOR3(4.0f * float(i), 4, 0), 1.0f, 0.0f, 0.5f, 0.0f);
    slide.savedObjects.push_back(std::move(kind));
  }
  return project.Write();
}

// The ready-made systems on two slides, their pictures stored as frames: the first continuous,
// the second on random timelines (restarts clear and refill them).
std::vector<uint8_t> ParticleSystems() {
  ProjectBuilder project;
  const DS_ImageFileLink spot = project.StoreFramePicture(u"spot.png", Png(4, 4, 0x80FFFFFF));
  const DS_ImageFileLink drops = project.StoreFramePicture(u"drops.png", Png(8, 8, 0xC0FFFFFF));
  for (int timeline = 0; timeline < 2; ++timeline) {
    DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f);
    std::vector<std::unique_ptr<ZKW_ParticleSystemCtrl>> kinds;
    auto flight = std::make_unique<ZKW_ThroughSpaceCtrl>();
    flight->area.rect.SetRect(30, 20, D3DXVECTOR3(15, 10, 0));
    flight->centre.SetValue(D3DXVECTOR3(15, 10, 0));
    flight->flightSpeed.SetValue(100);
    kinds.push_back(std::move(flight));
    auto field = std::make_unique<ZKW_FieldPtclSys>();
    field->slots.SetPositions({{1, 1, 0}, {3, 4, 0}});
    field->fill.SetValue(50);
    field->lifetime.SetValue(40);
    kinds.push_back(std::move(field));
    auto fireflies = std::make_unique<ZKW_Firefly>();
    fireflies->count.SetValue(2);
    fireflies->tracer.lifetime.SetValue(30);
    fireflies->tracer.look.picture.SetValue(DS_NamedFileLinkData({spot}));
    fireflies->tracer.look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
    kinds.push_back(std::move(fireflies));
    auto still = std::make_unique<ZKW_StaticObject>();
    still->corners.SetRect(8, 8, D3DXVECTOR3(4, 4, 0));
    kinds.push_back(std::move(still));
    auto fog = std::make_unique<DS_PtclFog>();
    fog->lifetime.SetValue(100);
    kinds.push_back(std::move(fog));
    auto stream = std::make_unique<DS_PtclSmoke2>();
    stream->area.SetRect(20, 10, D3DXVECTOR3(10, 5, 0));
    stream->lifetime.SetValue(40);
    kinds.push_back(std::move(stream));
    auto vortex = std::make_unique<ZKW_VortexPtclSys>();
    vortex->arms.SetValue(3);
    vortex->radialSpeed.SetValue(4);
    vortex->distance.SetValue(20);
    kinds.push_back(std::move(vortex));
    auto rain = std::make_unique<DS_RainOnGlass>();
    rain->pane.rect.SetRect(30, 20, D3DXVECTOR3(15, 10, 0));
    rain->appearance.picture.SetValue(DS_NamedFileLinkData({drops}));
    kinds.push_back(std::move(rain));
    auto rays = std::make_unique<DS_RayOfLight>();
    rays->area.SetRect(30, 20, D3DXVECTOR3(15, 10, 0));
    rays->count.SetValue(2);
    rays->lifetime.value.SetValue(20);
    kinds.push_back(std::move(rays));
    for (auto& kind : kinds) {
      ParticleAppearance& look = kind->appearance;
      if (look.picture.Value().links.empty()) look.picture.SetValue(DS_NamedFileLinkData({spot}));
      look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
      look.size.SetValue(4);
      kind->timing.SetValue(timeline);
      slide.savedObjects.push_back(std::move(kind));
    }
  }
  return project.Write();
}

// The path of the line seeds: three points.
void ThreePoints(SplinePath& path) {
  for (const D3DXVECTOR3& at :
       {D3DXVECTOR3(2, 6, 0), D3DXVECTOR3(10, 1, 0), D3DXVECTOR3(15, 5, 0)}) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    path.AppendPoint(point, nullptr);
  }
}

// Each line and path kind on a slide, its looks drawn with a stored frame, one line multiplying
// the picture below and one waving line of no length.
std::vector<uint8_t> Lines() {
  ProjectBuilder project;
  DS_SlideContainer& slide = project.AddSlide(0.5f, 2.0f, 0.5f);
  const DS_ImageFileLink streak = project.StoreFramePicture(u"streak.png", Png(4, 4, 0xC0FFFFFF));
  auto dress = [&](ParticleAppearance& look) {
    look.picture.SetValue(DS_NamedFileLinkData({streak}));
    look.effectLink = DS_HLSLEffectFile(u"glimres.dll", 202);
    look.size.SetValue(4);
  };
  auto growing = std::make_unique<ZKW_GrovingLine>();
  auto sliding = std::make_unique<ZKW_SlidingLine>();
  sliding->slideLength.SetValue(5);
  sliding->timing.SetValue(1);
  for (ZKW_StaticLineCtrl* line : {static_cast<ZKW_StaticLineCtrl*>(growing.get()),
                                   static_cast<ZKW_StaticLineCtrl*>(sliding.get())}) {
    ThreePoints(line->path);
    dress(line->lineAppearance);
    dress(line->appearance);
    line->width.SetValue(2);
    line->particlesOn.SetValue(1);
  }
  growing->lineAppearance.blend.SetValue(1);
  slide.savedObjects.push_back(std::move(growing));
  slide.savedObjects.push_back(std::move(sliding));
  for (int i = 0; i < 2; ++i) {
    auto shots = i == 0 ? std::make_unique<ZKW_ShootingLine>() : std::make_unique<ZKW_Tears>();
    ThreePoints(shots->path);
    dress(shots->lineAppearance);
    dress(shots->appearance);
    shots->shotSpeed.SetValue(20);
    shots->trailLength.SetValue(6);
    shots->width.SetValue(2);
    shots->lateralOffset.SetValue(1);
    shots->particlesOn.SetValue(1);
    slide.savedObjects.push_back(std::move(shots));
  }
  for (float reach : {12.0f, 0.0f}) {
    auto waving = std::make_unique<ZKW_WavingLine>();
    waving->start.SetValue({2, 4, 0});
    waving->end.SetValue({2 + reach, 4, 0});
    dress(waving->lineAppearance);
    dress(waving->appearance);
    waving->width.SetValue(2);
    waving->amplitude.SetValue(3);
    waving->particlesOn.SetValue(1);
    slide.savedObjects.push_back(std::move(waving));
  }
  auto path = std::make_unique<ZKW_ParticlePath>();
  ThreePoints(path->path);
  dress(path->appearance);
  path->pathSpeed.SetValue(10);
  path->lateralOffset.SetValue(2);
  slide.savedObjects.push_back(std::move(path));
  auto trace = std::make_unique<ZKW_ParticleTrace>();
  ThreePoints(trace->path);
  dress(trace->appearance);
  trace->points.SetValue(8);
  trace->lifetime.SetValue(50);
  trace->timing.SetValue(1);
  slide.savedObjects.push_back(std::move(trace));
  return project.Write();
}

}  // namespace

Seeds ProjectSeeds() {
  return {{"project-one-slide", OneSlide()},
          {"project-pictures-music", PicturesAndMusic()},
          {"project-sounds", Sounds()},
          {"project-lake-drops", LakeAndDrops()},
          {"project-brushes", Brushes()},
          {"project-sprite-presets", SpritePresets()},
          {"project-particles", Particles()},
          {"project-text", TextObjects(false)},
          {"project-text-huge-mesh", TextObjects(true)},
          {"project-glass-glyphs", GlassAndGlyphs()},
          {"project-colour-layer-brushes", ColourAndLayerBrushes()},
          {"project-scenery-brushes", SceneryBrushes()},
          {"project-sprite-families", SpriteFamilies()},
          {"project-generators", Generators()},
          {"project-particle-systems", ParticleSystems()},
          {"project-lines", Lines()}};
}

Seeds DocumentBodySeeds() {
  using namespace document_test;
  const GUID guid = GUID::Parse(u"{11111111-2222-3333-4444-555555555555}");
  BodyWriter body;
  body.Records({{u"glimres.dll", 7, {Record(7, u"glimres.dll", Png(4, 2, 0xFF112233))}},
                {u"mesh.x", 3, {Record(0, u"", {1, 2, 3}, u"mesh.x")}}})
      .Delays({{u"glimres.dll", 7, {0.5f, 0.25f}}})
      .Records({{u"anim.dll", 12, {Record(12, u"anim.dll", Png(2, 2, 0xFF00FF00))}}})
      .Guids({{guid, u"picture", true, Png(8, 8, 0x80FFFFFF)}})
      .Frames({{u"anim.png",
                9,
                {Frame(Png(2, 2, 0xFF0000FF), 0.1f),
                 Frame(gfx_image_test::TwoPixelGif(false), 0.2f)}}});
  const std::vector<uint8_t> bytes = body.Bytes();
  // The first byte of an input picks the version: 1 to 3 read fewer sections, 4 and 0 all five.
  Seeds out;
  for (uint8_t version : {0, 1, 2, 3, 4}) {
    std::vector<uint8_t> seed{version};
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    out.push_back({"body-five-sections-v" + std::to_string(version), std::move(seed)});
  }
  return out;
}

}  // namespace fuzz_seeds
