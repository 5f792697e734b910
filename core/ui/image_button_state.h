// Which picture of an image button's four-picture strip stands for its
// state. Pure rule; the button itself (starter/ui/controls.h) draws it.
#pragma once

namespace ld {

// Pictures of the strip, left to right.
enum class ButtonImage : int { kNormal = 0, kDisabled = 1, kHover = 2, kPressed = 3 };

// A disabled button shows its disabled picture whatever the mouse does; a
// button the mouse is not over shows the normal picture even while its item is
// still selected (pressed, then the mouse left).
ButtonImage ImageForState(bool disabled, bool hovering, bool pressed);

}  // namespace ld
