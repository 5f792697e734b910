#include "core/ui/font_metrics.h"

namespace ld {

int FontWeightFromStyle(std::uint32_t flags) {
  int weight = 400;
  if (flags & kFontBold) weight = 700;
  if (flags & kFontThin) weight = 100;
  if (flags & kFontHeavy) weight = 900;
  return weight;
}

int FontPixelHeight(int pixels_per_inch, int points) { return pixels_per_inch * points * 10 / 720; }

void AdjustWindowSize(std::uint32_t style, std::uint32_t ex_style, const FrameMetrics& metrics,
                      int* width, int* height) {
  if (!(style & kStylePopup)) {
    *width += 2 * metrics.border_width;
    *height += metrics.caption_height + 2 * metrics.border_height;
  }
  if (ex_style & kExStyleClientEdge) {
    *width += 2 * metrics.edge_width;
    *height += 2 * metrics.edge_height;
  }
  if (ex_style & kExStyleWindowEdge) {
    *width += 2 * metrics.edge_width;
    *height += 2 * metrics.edge_height;
  }
}

}  // namespace ld
