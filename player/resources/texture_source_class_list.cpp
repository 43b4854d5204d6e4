#include "player/resources/texture_source_class_list.h"

#include "player/resources/zkw_texture_src.h"

void RegisterTextureSourceClasses(ClassRegistries& r) {
  AddClass<ZKW_ResIDTex, ZKW_TextureSRC>(r.textureSources, u"ZKW_ResIDTex");
  AddClass<ZKW_ImgFileTex, ZKW_TextureSRC>(r.textureSources, u"ZKW_ImgFileTex");
  AddClass<ZKW_SoftCircleTex, ZKW_TextureSRC>(r.textureSources, u"ZKW_SoftCircleTex");
  AddClass<ZKW_TextTexure, ZKW_TextureSRC>(r.textureSources, u"ZKW_TextTexure");
  AddClass<ZKW_PolygonTex, ZKW_TextureSRC>(r.textureSources, u"ZKW_PolygonTex");
}
