#pragma once
// A window's persistent image: a memory DC holding a 32-bit DIB. Drawing goes here; WM_PAINT copies it out.
#include "platform/unique_handle.h"

class SurfaceImage {
public:
    SurfaceImage() = default;
    SurfaceImage(const SurfaceImage&) = delete;
    SurfaceImage& operator=(const SurfaceImage&) = delete;
    ~SurfaceImage() { Release(); }

    // Makes the image width × height filled with `fill`; keepContents copies over what fits of the old image.
    bool Resize(int width, int height, COLORREF fill, bool keepContents);
    void Fill(const RECT& area, COLORREF colour);
    void Release();

    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // CLR_INVALID outside the image.
    COLORREF Pixel(int x, int y) const;

private:
    UniqueMemDc dc_;
    UniqueHBitmap bitmap_;
    HGDIOBJ original_ = nullptr; // the DC's own bitmap, selected back before ours is deleted
    const unsigned char* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};
