#pragma once

#include <cstdint>

#include "core/link/ds_file_link.h"

class DS_ABObj_Constructor;
class DS_SlideContainer;
class ParticleAppearance;
class ProjectBuilder;

// What the demo's slides of classic particle systems and lines share.

// The look draws `picture` (an atlas of columns x rows) through effect 202.
void DressLook(ParticleAppearance& look, const DS_ImageFileLink& picture, uint32_t columns = 1,
               uint32_t rows = 1);

// A fade from the first colour to the second (COLORREF words) over each particle's life.
void FadeColours(ParticleAppearance& look, uint32_t from, uint32_t to);

// A slide on `background` that fades in and out over `fade` seconds and holds `hold` seconds.
DS_SlideContainer& AddSlideOn(ProjectBuilder& project, const DS_ImageFileLink& background,
                              float fade, float hold);

// The object shown and hidden by turns on a random timeline; durations in hundredths of a
// second: hidden from hiddenMin to hiddenMax, a fade in, shown from shownMin to shownMax, a fade
// out.
void RandomPhases(DS_ABObj_Constructor& object, unsigned hiddenMin, unsigned hiddenMax,
                  unsigned fadeIn, unsigned shownMin, unsigned shownMax, unsigned fadeOut);
