#include "core/ui/image_button_state.h"

namespace ld {

ButtonImage ImageForState(bool disabled, bool hovering, bool pressed) {
  if (disabled) return ButtonImage::kDisabled;
  if (!hovering) return ButtonImage::kNormal;
  return pressed ? ButtonImage::kPressed : ButtonImage::kHover;
}

}  // namespace ld
