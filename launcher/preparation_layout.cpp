#include "launcher/preparation_layout.h"

namespace corvane {

TRect CentredOnScreen(TSize window, TSize screen) {
  return {(screen.width - window.width) / 2, (screen.height - window.height) / 2, window.width, window.height};
}

TRect PlaceBesideSplash(const TRect& splash, TSize window, TSize screen) {
  TRect placed{splash.left + splash.width / 2 + 50, splash.top + splash.height + 25, window.width, window.height};
  const int lowestTop = screen.height - window.height - 45;
  const int rightmostLeft = screen.width - window.width - 25;
  if (placed.top > lowestTop) placed.top = lowestTop;
  if (placed.left > rightmostLeft) placed.left = rightmostLeft;
  return placed;
}

}  // namespace corvane
