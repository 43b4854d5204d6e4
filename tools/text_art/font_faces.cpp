#include "tools/text_art/font_faces.h"

#include <algorithm>
#include <string>

namespace {

bool Contains(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

bool AnyOf(const std::u16string& text, std::initializer_list<std::u16string_view> parts) {
  return std::any_of(parts.begin(), parts.end(),
                     [&](std::u16string_view part) { return Contains(text, part); });
}

}  // namespace

FaceChoice ChooseDejaVuFace(std::u16string_view face, int weight, bool italic) {
  std::u16string name(face);
  std::transform(name.begin(), name.end(), name.begin(), [](char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
  });
  std::string family = "DejaVuSans";
  if (AnyOf(name, {u"mono", u"courier", u"consol", u"console", u"typewriter", u"fixed"})) {
    family = "DejaVuSansMono";
  } else if ((Contains(name, u"serif") && !Contains(name, u"sans")) ||
             AnyOf(name, {u"times", u"georgia", u"garamond", u"roman", u"palatino", u"cambria",
                          u"book antiqua", u"bookman", u"century"})) {
    family = "DejaVuSerif";
  }
  const std::string file = family + (weight >= 600 ? "-Bold.ttf" : ".ttf");
  return {std::filesystem::path(kDejaVuDirectory) / file, italic};
}
