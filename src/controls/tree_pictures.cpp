#include "controls/tree_pictures.h"

#include "platform/gdi_guards.h"

#include <commctrl.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace {
// The 16-colour palette in VGA order, as the icon maps use it.
constexpr std::string_view Palette = "#rgybmcsdRGYBMCo";
constexpr COLORREF Colours[16] = {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                                  RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
                                  RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
                                  RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
} // namespace

std::optional<COLORREF> PixelMapColour(char c) {
    const size_t i = Palette.find(c);
    if (i == std::string_view::npos) return std::nullopt;
    return Colours[i];
}

UniqueHImageList MakeTreeImageList() {
    const auto maps = TreePictureMaps();
    const int count = static_cast<int>(maps.size());
    const int size = TreePictureSize;
    const int width = size * count;

    // The pictures side by side: a 24-bit colour strip and a monochrome mask (1 = transparent).
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -size, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueHBitmap colour;
    {
        WindowDc screen(nullptr);
        colour.reset(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    if (!colour || !bits) return {};
    const int colourStride = (width * 3 + 3) / 4 * 4;
    const int maskStride = (width + 15) / 16 * 2; // monochrome rows are word-aligned
    std::vector<std::uint8_t> maskBits(static_cast<size_t>(maskStride) * size, 0);
    auto* pixels = static_cast<std::uint8_t*>(bits);

    for (int picture = 0; picture < count; ++picture) {
        const std::string_view map = maps[static_cast<size_t>(picture)];
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const size_t at = static_cast<size_t>(y * size + x);
                const int column = picture * size + x;
                std::uint8_t* pixel = pixels + y * colourStride + column * 3;
                const auto c = at < map.size() ? PixelMapColour(map[at]) : std::nullopt;
                if (!c) {
                    // Black under the mask, so the picture adds nothing where it is transparent.
                    pixel[0] = pixel[1] = pixel[2] = 0;
                    maskBits[static_cast<size_t>(y * maskStride + column / 8)] |= 0x80 >> (column % 8);
                    continue;
                }
                pixel[0] = GetBValue(*c);
                pixel[1] = GetGValue(*c);
                pixel[2] = GetRValue(*c);
            }
        }
    }
    GdiFlush();
    UniqueHBitmap mask(CreateBitmap(width, size, 1, 1, maskBits.data()));
    if (!mask) return {};

    UniqueHImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0));
    if (!list || ImageList_Add(list.get(), colour.get(), mask.get()) < 0) return {};
    return list;
}
