#include "core/link/link_key.h"

LinkKey GuidLinkKey(const GUID& guid) {
  return LinkKey{guid.ToString(), 0};
}

bool LinkKeyDiffers(const LinkKey& a, const LinkKey& b) {
  return a != b;
}
