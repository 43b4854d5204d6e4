#include "core/scene/ds_abobj.h"

#include "core/archive/ds_iof_archive.h"
#include "core/scene/runtime_object_map.h"
#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"

DS_ABObj::DS_ABObj(std::unique_ptr<DS_ABObj_Constructor> description)
    : ZKW_RenderObj(description.get()), description_(std::move(description)) {
  if (description_ == nullptr) return;
  if (description_->guid.IsNull() || description_->keepGuid == 0) {
    description_->guid = GUID::Create();
  }
  if (RuntimeObjectMap* map = GetRuntimeObjectMap()) {
    enteredAs_ = description_->guid;
    (*map)[enteredAs_] = this;
    entered_ = true;
  }
}

DS_ABObj::~DS_ABObj() {
  if (!entered_) return;
  if (RuntimeObjectMap* map = GetRuntimeObjectMap()) {
    auto it = map->find(enteredAs_);
    if (it != map->end() && it->second == this) map->erase(it);
  }
}

int DS_ABObj::GetObjectKind() const {
  return description_ != nullptr ? description_->GetObjectKind() : DS_ABObj_Constructor::kPlainKind;
}

bool DS_ABObj::AppendScreenRects(std::vector<ScreenRect>& rects) {
  return description_ != nullptr && description_->AppendScreenRects(rects);
}

void DS_ABObj::AppendImageLinks(std::vector<DS_ImageFileLink>& links) {
  if (description_ != nullptr) description_->AppendImageLinks(links);
}

int DS_ABObj::ExportPreset(DS_IOF_Archive& archive, const zkw_string& folder, zkw_string name) {
  const int opened = archive.BeginFile(folder, name + u".zmo_obj");
  if (opened != 1) return opened;
  archive.io().WriteWideString(u"ZMO_OBJ");
  archive.io().WriteDword(1);
  if (description_ != nullptr) description_->Save(archive);
  if (const DS_DocResManager* document = DocumentTlsSlot::Get()) {
    SaveDocumentRecord(*document, archive);
  }
  return opened;
}

int DS_ABObj::HoverTest(int x, int y) {
  return description_ != nullptr ? description_->HoverTest(x, y) : 0;
}

void DS_ABObj::Click(int x, int y) {
  if (description_ != nullptr) description_->Click(x, y);
}
