#include "player/render/shared_targets.h"

#include <algorithm>
#include <vector>

#include "player/render/render_target_set.h"

namespace shared_targets {

namespace {

std::vector<ComRef<gfx::Texture>>& Kept() {
  static std::vector<ComRef<gfx::Texture>> kept;
  return kept;
}

}  // namespace

ComRef<gfx::Texture> Take(uint32_t w, uint32_t h) {
  std::vector<ComRef<gfx::Texture>>& kept = Kept();
  // Targets lost with a device (or of a device that is gone) serve no one.
  std::erase_if(kept, [](const ComRef<gfx::Texture>& t) { return t->IsLost(); });
  // The last given back first: it is the one most likely to have its storage in use already.
  const auto found = std::find_if(kept.rbegin(), kept.rend(), [&](const ComRef<gfx::Texture>& t) {
    return t->Width() == w && t->Height() == h;
  });
  if (found == kept.rend()) return MakeRenderTarget(w, h);
  ComRef<gfx::Texture> taken = std::move(*found);
  kept.erase(std::next(found).base());
  return taken;
}

void GiveBack(ComRef<gfx::Texture> texture) {
  std::vector<ComRef<gfx::Texture>>& kept = Kept();
  if (!texture || texture->IsLost()) return;
  for (const ComRef<gfx::Texture>& t : kept)
    if (t.Get() == texture.Get()) return;
  kept.push_back(std::move(texture));
}

void Clear() {
  Kept().clear();
}

size_t KeptCount() {
  return Kept().size();
}

}  // namespace shared_targets
