// Where the preparation window goes: beside and below the splash picture,
// but always on screen.
#pragma once

namespace corvane {

struct TRect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct TSize {
  int width = 0, height = 0;
};

TRect CentredOnScreen(TSize window, TSize screen);

// The splash already stands centred; the window goes right of its middle and
// under it, pulled back so it keeps clear of the screen's right and bottom edges.
TRect PlaceBesideSplash(const TRect& splash, TSize window, TSize screen);

}  // namespace corvane
