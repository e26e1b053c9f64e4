#pragma once
// Comparing what windows show.
#include <windows.h>

#include <cstdlib>

// Within three levels of each colour: a stretched picture drawn in parts rounds a little differently at
// the cuts.
inline bool Near(COLORREF a, COLORREF b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 3) return false;
    return true;
}
