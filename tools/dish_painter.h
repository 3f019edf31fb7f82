#pragma once

#include "icon_canvas.h"
#include "palettes.h"

// Paints a parabolic dish with its feed arm and LNB on a motor, mast and foot. The dish turns
// about the vertical axis of the mast: 0 degrees faces the viewer, negative angles turn its face
// towards the left edge of the picture, positive ones towards the right; the useful range is
// -85 to 85, beyond which its open side would face away.
void paintDish(Canvas& canvas, double turnDegrees, const DishColours& colours);
