#pragma once
// The program's own picture: a mosaic of triangles shading from teal to violet, drawn at any size. The
// splash and About windows show it.
#include <windows.h>

void DrawMosaic(HDC dc, const RECT& area);
