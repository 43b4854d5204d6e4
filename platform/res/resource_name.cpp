#include "platform/res/resource_name.h"

namespace res {
namespace {

char16_t Upper(char16_t u) {
  return u >= u'a' && u <= u'z' ? char16_t(u - u'a' + u'A') : u;
}

}  // namespace

bool operator==(const ResName& a, const ResName& b) {
  if (a.isId_ != b.isId_) return false;
  if (a.isId_) return a.id_ == b.id_;
  if (a.name_.size() != b.name_.size()) return false;
  for (size_t i = 0; i < a.name_.size(); ++i)
    if (Upper(a.name_[i]) != Upper(b.name_[i])) return false;
  return true;
}

}  // namespace res
