#include "player/document/zkw_losable_obj.h"

#include "core/guid.h"
#include "player/document/doc_res_manager.h"

ZKW_LosableObj::ZKW_LosableObj() : name(GUID::Create().ToString()) {
  if (DS_DocResManager* document = CurrentDocument()) document->losableRegistry.Set(Key(), this);
}

ZKW_LosableObj::~ZKW_LosableObj() {
  if (DS_DocResManager* document = CurrentDocument()) {
    document->losableRegistry.Set(Key(), nullptr);
  }
}
