#pragma once
// A tab strip whose page lies under other windows draws only what they leave in view. A themed page is a
// picture stretched over the strip's whole client area on every paint, whether anything of it shows or not.
#include <windows.h>

// From now on the strip skips, when it paints, the largest area that a window shown above it in the
// z-order covers. What shows on the screen stays the same: the strip's WS_CLIPSIBLINGS keeps those pixels
// out of view anyway. The strip skips painting a frame it does not have, too.
void PaintAroundCoveringWindows(HWND strip);
