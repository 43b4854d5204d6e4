#pragma once

#include <functional>
#include <string>

class ZKW_RenderObj;

// The picture-below contract of the object pass: an object that announces n readers of the
// picture below (NeedsPictureBelow) has the renderer switch its target exactly n times while it
// is drawn, counting the switch the pass makes for an object that needs a target copy; an
// object that is not drawn announces none. The frame's reader count is the sum of the
// announcements, so one object that breaks it leaves the targets of every later reader wrong.
//
// Debug builds check it after each object of the pass. A breach goes to the handler, by default
// a message on stderr and abort(), so that any test that meets one fails.

// What a breach is told to: a message that names the object.
using PictureBelowBreachHandler = std::function<void(const std::string& message)>;

// Installs `handler` (the default when empty) and answers the one it replaces.
PictureBelowBreachHandler SetPictureBelowBreachHandler(PictureBelowBreachHandler handler);

// Compares what `object` announced with the switches it made; `drawn` says whether the pass drew
// it. Reports a breach through the handler. Release builds do not call it.
void CheckPictureBelowContract(const ZKW_RenderObj& object, bool drawn, int announced,
                               int switched);

// True in builds that check the contract.
constexpr bool kChecksPictureBelowContract =
#ifdef NDEBUG
    false;
#else
    true;
#endif
