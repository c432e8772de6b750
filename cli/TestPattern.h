// The built-in test image: detail a resize shows its quality on.
//   top left      a grey zone plate whose rings reach one cycle per two
//                 pixels in its corners (aliasing shows at once)
//   top right     hues across, brightness falling to black downwards
//                 (smooth ramps, where gamma handling shows)
//   bottom left   eight full-strength colour bars (hard colour edges)
//   bottom right  black-and-white line gratings of period 2, 4, 6 and 8
//                 pixels, vertical above and horizontal below (ringing)
#pragma once
#include "cli/Picture.h"

// Any size from 1x1; the regions split at half the width and three quarters
// of the height. The picture is 8-bit RGB.
TPicture MakeTestPattern(int width, int height);
