#pragma once

// The texts of the demo's text slide. The text art tool (tools/text_art) draws their pictures
// and glyph mesh at build time under the file names below, and the demo writer builds the text
// objects that show them, so both read these values.

// The flat title: white text on a canvas of its own, with a soft halo as its text-effect
// picture.
inline constexpr char16_t kDemoTitle[] = u"Vornview";
inline constexpr char16_t kDemoTitleFace[] = u"Georgia";
inline constexpr int kDemoTitleWeight = 700;
inline constexpr float kDemoTitlePixels = 64.0f;
inline constexpr unsigned kDemoTitleHalo = 6;  // pixels
inline constexpr char kDemoTitleFile[] = "demo_title.dds";
inline constexpr char kDemoTitleHaloFile[] = "demo_title_halo.dds";

// The 3D line: extruded glyphs of a sans face.
inline constexpr char16_t kDemoLine[] = u"scenes in motion";
inline constexpr char16_t kDemoLineFace[] = u"Arial";
inline constexpr int kDemoLineWeight = 700;
inline constexpr unsigned kDemoLineDepth = 40;  // the record's stored depth value
inline constexpr char kDemoLineFile[] = "demo_line.glyphs";

// The menu slide: a quad text title with a shadow, a line of quad text scrolling across, a
// sprite text ticker scrolling the other way, and text links to other slides (the first a sprite
// link, the others quad links), each of which has a quad link back. Sprite text pictures are
// whole power-of-two canvases (the sprite shows its texture whole); quad text pictures are used
// parts of their canvases.
inline constexpr char16_t kDemoMenuFace[] = u"Georgia";
inline constexpr char16_t kDemoMenuTitle[] = u"Menu";
inline constexpr float kDemoMenuTitlePixels = 56.0f;
inline constexpr char kDemoMenuTitleFile[] = "demo_menu_title.dds";
inline constexpr char16_t kDemoMenuLine[] =
    u"pictures, particles, sprites, brushes, text and light, slide after slide";
inline constexpr char kDemoMenuLineFile[] = "demo_menu_line.dds";
inline constexpr char16_t kDemoMenuTicker[] = u"click a line below to jump to its slide";
inline constexpr char kDemoMenuTickerFile[] = "demo_menu_ticker.dds";
inline constexpr float kDemoMenuTextPixels = 24.0f;
// The links' pictures have little padding, so that the sprite link's canvas (what it shows,
// and where it is hit) is one line tall.
inline constexpr unsigned kDemoMenuLinkPadding = 1;  // pixels
// The links in menu order, and their pictures.
inline constexpr const char16_t* kDemoMenuLinks[] = {u"The title card", u"Particles",
                                                     u"The garden"};
inline constexpr const char* kDemoMenuLinkFiles[] = {
    "demo_link_title.dds", "demo_link_particles.dds", "demo_link_garden.dds"};
inline constexpr char16_t kDemoMenuBack[] = u"back to the menu";
inline constexpr char kDemoMenuBackFile[] = "demo_link_back.dds";
// The festival line of animated glyphs: one picture pack per letter, a few tinted frames each,
// stored among the player's own resources from kDemoGlyphFirstId on (letter i at first id + i)
// and named by the animated font as ("glimres.dll", id).
inline constexpr char16_t kDemoGlyphLine[] = u"FEST";
inline constexpr int kDemoGlyphFirstId = 3101;
inline constexpr char16_t kDemoGlyphFace[] = u"DejaVu Sans";
inline constexpr int kDemoGlyphWeight = 700;
inline constexpr float kDemoGlyphPixels = 40.0f;
inline constexpr float kDemoGlyphDelay = 0.18f;  // seconds per tint
// The pack of letter i is written as "demo_glyph_<i>.pack".
inline constexpr char kDemoGlyphFilePrefix[] = "demo_glyph_";
