#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

#include "core/registry/class_readers.h"
#include "core/registry/class_registry.h"

// The twelve class registries, one per archived family: a stored record names its class, and the
// family's registry turns that name back into an object (core/registry/read_by_name.h).
//
// Filling them: each library keeps one class list, a function that enters its classes with one
// line per class (core/registry/core_class_list.cpp shows the form). The program's start-up makes
// one call, RegisterClasses, with the class lists of every library it links; tests call it with
// the lists they need. The registries are then sealed and never change again.

class DS_ABObj_Constructor;
class ZKW_VGeom2D;
class DS_2D_Light;
class ZKW_TextureSRC;
class ZKW_VGraph;
class ZKW_Timing;
class ZKW_VFigure;
class ZKW_VGradient;
class ZKW_ChronoCtrl;
class DS_SlideContainer;

using ObjectRegistry = ClassRegistry<IOF_Virtual_Reader>;
template <class B>
using FamilyRegistry = ClassRegistry<IOF_Virtual_ReaderII<B>>;

struct ClassRegistries {
  ObjectRegistry objects;                         // scene objects
  FamilyRegistry<ZKW_IOF_Item> iofItems;          // particle-engine parts and effects
  FamilyRegistry<ZKW_VGeom2D> vgeom2d;            // shapes
  FamilyRegistry<DS_2D_Light> renderers;          // slide renderers
  FamilyRegistry<ZKW_TextureSRC> textureSources;  // texture sources
  FamilyRegistry<ZKW_VGraph> vgraphs;             // envelope graphs
  FamilyRegistry<ZKW_Timing> timings;             // timelines
  FamilyRegistry<ZKW_VFigure> vfigures;           // emitter figures
  FamilyRegistry<ZKW_VGradient> vgradients;       // gradients
  FamilyRegistry<ZKW_ChronoCtrl> chronos;         // time-window controllers
  FamilyRegistry<DS_SlideContainer> slides;       // slides
  FamilyRegistry<ZKW_IOF_Item> nodeExtras;        // extra parts of particle nodes: none exist
};

const ObjectRegistry& GetObjectRegistry();
const FamilyRegistry<ZKW_IOF_Item>& GetIofItemRegistry();
const FamilyRegistry<ZKW_VGeom2D>& GetVGeom2DRegistry();
const FamilyRegistry<DS_2D_Light>& GetRendererRegistry();
const FamilyRegistry<ZKW_TextureSRC>& GetTextureSrcRegistry();
const FamilyRegistry<ZKW_VGraph>& GetVGraphRegistry();
const FamilyRegistry<ZKW_Timing>& GetTimingRegistry();
const FamilyRegistry<ZKW_VFigure>& GetVFigureRegistry();
const FamilyRegistry<ZKW_VGradient>& GetVGradientRegistry();
const FamilyRegistry<ZKW_ChronoCtrl>& GetChronoRegistry();
const FamilyRegistry<DS_SlideContainer>& GetSlideReaderRegistry();
const FamilyRegistry<ZKW_IOF_Item>& GetNodeExtraRegistry();

// A library's class list.
using ClassList = void (*)(ClassRegistries&);

// Runs the class lists in order, then seals every registry. Called once at start-up, before any
// project is read. A later call whose lists have all run already does nothing (tests may call it
// more than once); a later call with a list that has not run throws std::logic_error, since the
// registries can no longer change. Thread-safe.
void RegisterClasses(std::span<const ClassList> lists);
inline void RegisterClasses(std::initializer_list<ClassList> lists) {
  RegisterClasses(std::span<const ClassList>(lists.begin(), lists.size()));
}

bool ClassRegistriesSealed();

// The one-line entries of a class list.

// Scene object X, read by IOF_Virtual_ReaderT<X>.
template <class X>
void AddObjectClass(ObjectRegistry& registry, std::u16string_view name) {
  static const IOF_Virtual_ReaderT<X> reader{};
  registry.Add(name, reader);
}

// Class X of the family whose base is B, read by IOF_Virtual_ReaderT_II<X, B>.
template <class X, class B>
void AddClass(FamilyRegistry<B>& registry, std::u16string_view name) {
  static const IOF_Virtual_ReaderT_II<X, B> reader{};
  registry.Add(name, reader);
}
