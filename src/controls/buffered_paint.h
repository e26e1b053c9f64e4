#pragma once
// Themed pictures drawn straight onto a window cost three round trips to the window server per piece under
// Wine, which asks whether the display has changed each time; drawn into memory first, they cost nothing.
#include <windows.h>

#include <functional>

// Calls draw with a memory device context that stands for the area of target (in target's coordinates,
// which draw uses unchanged), then copies what it drew to target. When no memory is to be had, draw
// gets target itself, clipped to the area.
void DrawThroughMemory(HDC target, const RECT& area, const std::function<void(HDC)>& draw);

// From now on a system control paints through memory, and skips the default painting of a frame it does
// not have.
void PaintThroughMemory(HWND control);

// Draws the whole client area of window (its background, then paintOwn) and of each shown child in it, as
// the child's own painting would, in memory; shows it at once and takes the paint of the window and of every
// child as done. One paint in place of one per window: under Wine each window's own paint costs over a dozen
// round trips. False, with nothing shown or taken as done, when no memory is to be had.
bool PaintWithChildren(HWND window, const std::function<void(HDC)>& paintOwn);
