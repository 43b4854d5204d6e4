#include "player/player_class_list.h"

#include "player/document/document_services.h"
#include "player/render/render_context.h"
#include "player/resources/texture_source_class_list.h"
#include "player/scene/ds_slide_container.h"
#include "player/sound/ds_mp3_constructor.h"
#include "player/sound/ds_wav_constructor.h"

void RegisterPlayerClasses(ClassRegistries& r) {
  InstallDocumentServices();
  InstallRenderContextServices();

  AddClass<DS_SlideContainer, DS_SlideContainer>(r.slides, u"DS_SlideContainer");
  AddObjectClass<DS_MP3_Constructor>(r.objects, u"DS_MP3_Constructor");
  AddObjectClass<DS_WAV_Constructor>(r.objects, u"DS_WAV_Constructor");
  RegisterTextureSourceClasses(r);
}
