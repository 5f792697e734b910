// Font and window size rules of the window framework, kept apart from the
// calls that use them so they can be checked without a display.
#pragma once

#include <cstdint>

namespace ld {

// Style flags of the framework's fonts.
inline constexpr std::uint32_t kFontThin = 0x02;   // weight 100
inline constexpr std::uint32_t kFontBold = 0x10;   // weight 700
inline constexpr std::uint32_t kFontHeavy = 0x20;  // weight 900
inline constexpr std::uint32_t kFontItalic = 0x100;
inline constexpr std::uint32_t kFontUnderline = 0x1000;

// 400, or the weight of the last of bold, thin, heavy that is set (so thin
// wins over bold, heavy over both).
int FontWeightFromStyle(std::uint32_t flags);

// Character height in device pixels for `points` at `pixels_per_inch`
// (integer arithmetic in tenths of a point, as the fonts were always sized).
int FontPixelHeight(int pixels_per_inch, int points);

// Frame sizes of the system, in pixels.
struct FrameMetrics {
  int border_width = 0;
  int border_height = 0;
  int caption_height = 0;
  int edge_width = 0;
  int edge_height = 0;
};

// Style bits the adjustment reads (the system's values).
inline constexpr std::uint32_t kStylePopup = 0x80000000u;
inline constexpr std::uint32_t kExStyleWindowEdge = 0x00000100u;
inline constexpr std::uint32_t kExStyleClientEdge = 0x00000200u;

// Grows a client size into a window size: a non-popup window gains two
// borders and a caption, a client edge two edges and a window edge two more.
void AdjustWindowSize(std::uint32_t style, std::uint32_t ex_style, const FrameMetrics& metrics,
                      int* width, int* height);

}  // namespace ld
