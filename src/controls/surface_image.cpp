#include "controls/surface_image.h"

#include <algorithm>

bool SurfaceImage::Resize(int width, int height, COLORREF fill, bool keepContents) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, so row y starts at y * stride
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueMemDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    UniqueHBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return false;
    HGDIOBJ original = SelectObject(dc.get(), bitmap.get());
    RECT all{0, 0, width, height};
    UniqueHBrush brush(CreateSolidBrush(fill));
    FillRect(dc.get(), &all, brush.get());
    if (keepContents && dc_)
        BitBlt(dc.get(), 0, 0, std::min(width, width_), std::min(height, height_), dc_.get(), 0, 0, SRCCOPY);
    Release();
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    original_ = original;
    bits_ = static_cast<const unsigned char*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

void SurfaceImage::Fill(const RECT& area, COLORREF colour) {
    if (!dc_) return;
    UniqueHBrush brush(CreateSolidBrush(colour));
    FillRect(dc_.get(), &area, brush.get());
}

void SurfaceImage::Release() {
    if (dc_ && original_) SelectObject(dc_.get(), original_);
    original_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

COLORREF SurfaceImage::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();
    const unsigned char* p = bits_ + (static_cast<size_t>(y) * width_ + x) * 4;
    return RGB(p[2], p[1], p[0]);
}
