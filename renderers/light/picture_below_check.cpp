#include "renderers/light/picture_below_check.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "core/scene/ds_abobj.h"
#include "core/zkw_string.h"

namespace {

void AbortOnBreach(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  std::abort();
}

PictureBelowBreachHandler& Handler() {
  static PictureBelowBreachHandler handler = AbortOnBreach;
  return handler;
}

// The run-time kind's class name, readable.
std::string KindName(const ZKW_RenderObj& object) {
  const char* mangled = typeid(object).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> readable(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  return status == 0 && readable ? readable.get() : mangled;
}

// "Name" (Kind), or the kind alone for an object without a description.
std::string ObjectName(const ZKW_RenderObj& object) {
  const auto* abObject = dynamic_cast<const DS_ABObj*>(&object);
  const DS_ABObj_Constructor* description = abObject ? abObject->Description() : nullptr;
  if (description == nullptr) return KindName(object);
  return "\"" + ToUtf8(description->name) + "\" (" + KindName(object) + ")";
}

}  // namespace

PictureBelowBreachHandler SetPictureBelowBreachHandler(PictureBelowBreachHandler handler) {
  PictureBelowBreachHandler previous = std::move(Handler());
  Handler() = handler ? std::move(handler) : AbortOnBreach;
  return previous;
}

void CheckPictureBelowContract(const ZKW_RenderObj& object, bool drawn, int announced,
                               int switched) {
  if (announced == switched) return;
  const std::string what = ObjectName(object);
  const std::string message =
      drawn ? "Picture-below contract broken: object " + what + " announced " +
                  std::to_string(announced) + " reader(s) of the picture below but switched the " +
                  "target " + std::to_string(switched) + " time(s)"
            : "Picture-below contract broken: object " + what + " is not drawn but announced " +
                  std::to_string(announced) + " reader(s) of the picture below";
  Handler()(message);
}
