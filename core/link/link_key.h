#pragma once

#include <compare>
#include <cstdint>

#include "core/guid.h"
#include "core/zkw_string.h"

// The key of a file link in every per-link table of the document: its name and id. Keys order by
// name, compared unit by unit (a shorter equal prefix first), then by id as a signed number.
struct LinkKey {
  zkw_string name;
  int64_t id = 0;

  friend bool operator==(const LinkKey&, const LinkKey&) = default;
  friend std::strong_ordering operator<=>(const LinkKey& a, const LinkKey& b) {
    if (auto c = a.name <=> b.name; c != 0) return c;
    return a.id <=> b.id;
  }
};

// The key under which the frames of a GUID-named picture are kept: the GUID's 38-unit braced
// text, id 0.
LinkKey GuidLinkKey(const GUID& guid);

// Whether two keys differ in any unit of the name or in the id.
bool LinkKeyDiffers(const LinkKey& a, const LinkKey& b);
