#pragma once

#include <cstdint>
#include <vector>

class DS_SlideContainer;
class ProjectBuilder;

// The brushes of the demo project, put on slides the demo has made; positions are in pixels of
// the slide's picture, `width` x `height`.

// Straight waves over the whole sea and rings spreading out of its middle, fading away from it
// under the radial mask (the PNG `radialMask`; none when empty).
void AddSeaWaves(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                 const std::vector<uint8_t>& radialMask);

// The picture distorted five ways at once: a lens swelling and shrinking, the picture rocking
// about the sun, a swirl under a radial mask (the PNG `radialMask`, stored as the swirl's mask
// picture; none when empty), a breath up and down from the horizon and a tilt to and fro.
void AddDistortions(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                    const std::vector<uint8_t>& radialMask);

// A hue that swings a little, a band of warm light sweeping across the picture and a glow
// pulsing in its middle (the PNG `radialMask` as the glow's mask; none when empty), all graded
// towards night and back over the slide.
void AddColourBrushes(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                      const std::vector<uint8_t>& radialMask);

// The picture worked on in layers: a relief of the player's bump picture 89 on the sky to its
// left, a haze shimmering over its skyline, stars laid over it as a pattern and erased towards its
// top, and its middle blurred under the radial mask (the PNG `radialMask`; none when empty).
void AddLayerBrushes(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height,
                     const std::vector<uint8_t>& radialMask);

// The sky and the sea alive: clouds drifting over the sky (picture 87), mirrored upside down into
// the sea by a copy of the cloud layer, the sun's glitter streaming down the water (noise 86), the
// water surface rippling, and the sea swaying gently.
void AddSkyAndWater(ProjectBuilder& project, DS_SlideContainer& slide, float width, float height);

// Fire burning along the lower edge of the picture.
void AddFireAlongTheFoot(DS_SlideContainer& slide, float width, float height);
