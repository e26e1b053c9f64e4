#include "controls/file_icons.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct MonoInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

MonoInfo MonoHeader(int width, int height) {
    MonoInfo info{};
    info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
    info.colours[1] = {255, 255, 255, 0};
    return info;
}

// The image of a group closest to 32 × 32, the deepest colours first: what the platform would pick for the
// grid, without asking the display for every icon.
int PickImage(const std::uint8_t* directory, size_t size) {
    constexpr size_t Head = 6, Entry = 14;
    if (size < Head) return 0;
    const size_t count = directory[4] | directory[5] << 8;
    int best = 0;
    long bestScore = -1;
    for (size_t i = 0; i < count && Head + (i + 1) * Entry <= size; ++i) {
        const std::uint8_t* e = directory + Head + i * Entry;
        const int width = e[0] ? e[0] : 256;
        const int depth = e[6] | e[7] << 8;
        const int distance = width >= 32 ? width - 32 : 2 * (32 - width); // larger pictures shrink better
        const long score = (1000L - distance) * 64 + std::min(depth, 32);
        if (score > bestScore) {
            bestScore = score;
            best = e[12] | e[13] << 8;
        }
    }
    return best;
}

} // namespace

void FileIcons::Clear() {
    if (colourDc_ && colourOld_) SelectObject(colourDc_.get(), colourOld_);
    if (maskDc_ && maskOld_) SelectObject(maskDc_.get(), maskOld_);
    colourOld_ = maskOld_ = nullptr;
    colour_.reset();
    mask_.reset();
    colourDc_.reset();
    maskDc_.reset();
    colourBits_ = nullptr;
    maskBits_ = nullptr;
    count_ = 0;
}

bool FileIcons::MakeStrips(int count) {
    Clear();
    // Cells in rows of a fixed width: a blit from one very long row costs far more than from a square.
    const int width = std::min(count, CellsPerRow) * Size,
              height = (count + CellsPerRow - 1) / CellsPerRow * Size;
    BITMAPINFO colourInfo{};
    colourInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    MonoInfo maskInfo = MonoHeader(width, -height);
    void* colourBits = nullptr;
    void* maskBits = nullptr;
    colourDc_.reset(CreateCompatibleDC(nullptr));
    maskDc_.reset(CreateCompatibleDC(nullptr));
    colour_.reset(CreateDIBSection(nullptr, &colourInfo, DIB_RGB_COLORS, &colourBits, nullptr, 0));
    mask_.reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS, &maskBits,
                                 nullptr, 0));
    if (!colourDc_ || !maskDc_ || !colour_ || !mask_) {
        Clear();
        return false;
    }
    colourOld_ = SelectObject(colourDc_.get(), colour_.get());
    maskOld_ = SelectObject(maskDc_.get(), mask_.get());
    colourBits_ = static_cast<std::uint32_t*>(colourBits);
    maskBits_ = static_cast<std::uint8_t*>(maskBits);
    stripWidth_ = width;
    maskStride_ = (width + 31) / 32 * 4;
    std::memset(maskBits_, 0xff, static_cast<size_t>(maskStride_) * height); // every cell empty to start with
    SetStretchBltMode(colourDc_.get(), COLORONCOLOR);
    SetStretchBltMode(maskDc_.get(), COLORONCOLOR);
    count_ = count;
    return true;
}

int FileIcons::Load(const std::wstring& file) {
    Clear();
    const IconFileBatch once;        // an icon file is counted by the platform from the same opening
    const IconLibrary library(file); // a library is counted and decoded from one reading
    const int count = library.IsProgram() ? library.GroupCount() : FileIconCount(file);
    if (count <= 0 || !MakeStrips(count)) return 0;
    if (library.IsProgram())
        DecodeLibrary(library);
    else
        ExtractWithPlatform(file);
    GdiFlush();
    return count_;
}

void FileIcons::DecodeLibrary(const IconLibrary& library) {
    for (int cell = 0; cell < count_; ++cell) {
        const auto group = library.Group(cell);
        const auto image = group.empty() ? group : library.Image(PickImage(group.data(), group.size()));
        if (image.empty()) continue;
        if (DecodeImage(cell, image.data(), image.size())) continue;
        // Compressed pictures and unusual layouts: let the platform make the icon.
        UniqueHIcon icon(CreateIconFromResourceEx(const_cast<std::uint8_t*>(image.data()),
                                                  static_cast<DWORD>(image.size()), TRUE, 0x00030000, Size,
                                                  Size, LR_DEFAULTCOLOR));
        if (icon) PaintIcon(cell, icon.get());
    }
}

void FileIcons::ExtractWithPlatform(const std::wstring& file) {
    std::vector<HICON> icons(static_cast<size_t>(count_), nullptr);
    // Wine fills in only the first handle unless it is given somewhere to put the resource ids too.
    std::vector<UINT> ids(icons.size(), 0);
    PrivateExtractIconsW(file.c_str(), 0, Size, Size, icons.data(), ids.data(), static_cast<UINT>(count_), 0);
    for (int cell = 0; cell < count_; ++cell) {
        UniqueHIcon icon(icons[static_cast<size_t>(cell)]);
        if (icon) PaintIcon(cell, icon.get());
    }
}

void FileIcons::PaintIcon(int cell, HICON icon) {
    // Colours on black, and the mask as it is.
    const POINT at = Origin(cell);
    RECT area{at.x, at.y, at.x + Size, at.y + Size};
    FillRect(colourDc_.get(), &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawIconEx(colourDc_.get(), at.x, at.y, icon, Size, Size, 0, nullptr, DI_NORMAL);
    DrawIconEx(maskDc_.get(), at.x, at.y, icon, Size, Size, 0, nullptr, DI_MASK);
    BlackOutClearPixels(cell);
}

void FileIcons::BlackOutClearPixels(int cell) {
    // Where the mask lets the background through, the colours must be black for the two-step draw.
    SetTextColor(colourDc_.get(), RGB(0, 0, 0));
    SetBkColor(colourDc_.get(), RGB(255, 255, 255));
    const POINT at = Origin(cell);
    BitBlt(colourDc_.get(), at.x, at.y, Size, Size, maskDc_.get(), at.x, at.y, 0x00220326); // DSna
}

bool FileIcons::DecodeImage(int cell, const std::uint8_t* bits, size_t size) {
    if (size < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, bits, sizeof header);
    if (header.biSize < sizeof header || header.biSize > size || header.biWidth <= 0 ||
        header.biHeight <= 0 || header.biPlanes != 1 || header.biCompression != BI_RGB)
        return false;
    const int width = header.biWidth, height = header.biHeight / 2, depth = header.biBitCount;
    if (height <= 0 || width > 256 || height > 256) return false;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) return false;
    const size_t colours = header.biClrUsed ? header.biClrUsed : (depth <= 8 ? size_t{1} << depth : 0);
    const size_t xorStride = (static_cast<size_t>(width) * depth + 31) / 32 * 4;
    const size_t andStride = (static_cast<size_t>(width) + 31) / 32 * 4;
    const size_t xorOffset = header.biSize + colours * 4;
    const size_t andOffset = xorOffset + xorStride * height;
    if (andOffset + andStride * height > size) return false;
    const std::uint8_t* xorBits = bits + xorOffset;
    const std::uint8_t* andBits = bits + andOffset;
    const POINT at = Origin(cell);
    const int left = at.x;

    if (width == Size && height == Size) {
        // The common case, decoded by hand: no drawing call per icon. A 32-bit picture with an alpha channel
        // takes its outline from the alpha (half-transparent pixels count as drawn), any other from the mask.
        bool alpha = false;
        if (depth == 32)
            for (int i = 0; i < Size * Size && !alpha; ++i) alpha = xorBits[i * 4 + 3] != 0;
        const std::uint8_t* palette = bits + header.biSize;
        auto paletteColour = [&](size_t i) -> std::uint32_t {
            if (i >= colours) return 0;
            return palette[i * 4] | palette[i * 4 + 1] << 8 | palette[i * 4 + 2] << 16;
        };
        for (int y = 0; y < Size; ++y) {
            // Rows are stored bottom up.
            const std::uint8_t* row = xorBits + xorStride * (Size - 1 - y);
            const std::uint8_t* andRow = andBits + andStride * (Size - 1 - y);
            std::uint32_t* out = colourBits_ + static_cast<size_t>(at.y + y) * stripWidth_ + left;
            std::uint8_t* maskRow = maskBits_ + static_cast<size_t>(at.y + y) * maskStride_;
            for (int x = 0; x < Size; ++x) {
                const bool clear = alpha ? row[x * 4 + 3] < 128 : (andRow[x / 8] & (0x80 >> (x % 8))) != 0;
                if (clear) {
                    out[x] = 0;
                    continue;
                }
                switch (depth) {
                case 32:
                    out[x] = row[x * 4] | row[x * 4 + 1] << 8 | row[x * 4 + 2] << 16;
                    break;
                case 24:
                    out[x] = row[x * 3] | row[x * 3 + 1] << 8 | row[x * 3 + 2] << 16;
                    break;
                case 8:
                    out[x] = paletteColour(row[x]);
                    break;
                case 4:
                    out[x] = paletteColour((row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0f);
                    break;
                default:
                    out[x] = paletteColour((row[x / 8] >> (7 - x % 8)) & 1);
                    break;
                }
                const int bit = left + x;
                maskRow[bit / 8] &= static_cast<std::uint8_t>(~(0x80 >> (bit % 8)));
            }
        }
        return true;
    }

    std::vector<std::uint8_t> info(header.biSize + colours * 4);
    std::memcpy(info.data(), bits, info.size());
    auto* colourHeader = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    colourHeader->biHeight = height;
    colourHeader->biSizeImage = 0;
    StretchDIBits(colourDc_.get(), left, at.y, Size, Size, 0, 0, width, height, xorBits,
                  reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    MonoInfo maskInfo = MonoHeader(width, height);
    StretchDIBits(maskDc_.get(), left, at.y, Size, Size, 0, 0, width, height, andBits,
                  reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS, SRCCOPY);
    BlackOutClearPixels(cell);
    return true;
}

void FileIcons::Draw(HDC dc, int index, int x, int y) const {
    if (index < 0 || index >= count_) return;
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    const POINT at = Origin(index);
    BitBlt(dc, x, y, Size, Size, maskDc_.get(), at.x, at.y, SRCAND);
    BitBlt(dc, x, y, Size, Size, colourDc_.get(), at.x, at.y, SRCPAINT);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}
