#include "controls/tool_bar_icons.h"

#include "controls/line_drawing.h"
#include "controls/tree_pictures.h"
#include "platform/gdi_guards.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

// Generated at build time from resources/toolbar_pictures: one 18 x 18 map per button, in index order.
std::span<const std::string_view> ToolbarPictureMaps();

namespace {

constexpr wchar_t ToolBarClass[] = L"TessalyToolBar";
constexpr wchar_t PanelClass[] = L"TessalyToolBarContainer";
constexpr wchar_t ButtonClass[] = L"TessalyToolBarButton";
constexpr int Size = ToolBarIcons::ButtonSize;

// Greyed: the picture in shades of grey, washed halfway into the button face.
COLORREF Greyed(COLORREF c, COLORREF face) {
    const int grey = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
    auto wash = [grey](int f) { return (f * 11 + grey * 9) / 20; };
    return RGB(wash(GetRValue(face)), wash(GetGValue(face)), wash(GetBValue(face)));
}

// 1, 2 or 4: the left, right or middle button, as the toolbar's events number them.
int ButtonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 2;
    default:
        return 4;
    }
}

} // namespace

// The container shows its image and hands every mouse message to the toolbar, which finds the button.
class ToolBarIcons::Panel : public Window {
public:
    explicit Panel(ToolBarIcons& owner) {
        OnPaint([&owner](HDC dc, const RECT& area) {
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, owner.image_.dc(),
                   area.left, area.top, SRCCOPY);
        });
        On(WM_ERASEBKGND, [](WPARAM, LPARAM) { return LRESULT{1}; });
        for (UINT message :
             {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP,
              WM_MBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK})
            On(message, [&owner, message](WPARAM keys, LPARAM point) {
                owner.MouseMessage(message, keys, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)});
                return LRESULT{0};
            });
    }
    bool Create(HWND parent) {
        RegisterWindowClass(PanelClass, CS_DBLCLKS, nullptr);
        return CreateWindowFor(PanelClass, L"container", WS_CHILD | WS_VISIBLE, 0, ContainerLeft,
                               ContainerTop, ContainerWidth, ContainerHeight, parent,
                               reinterpret_cast<HMENU>(1)) != nullptr;
    }
};

ToolBarIcons::ToolBarIcons() {
    enabled_.fill(true);
    OnPaint([this](HDC dc, const RECT&) {
        RECT client;
        GetClientRect(hwnd(), &client);
        // The etched top edge.
        DrawLine(dc, 0, 0, client.right, 0, GetSysColor(COLOR_BTNSHADOW));
        DrawLine(dc, 0, 1, client.right, 1, GetSysColor(COLOR_3DHILIGHT));
    });
    On(WM_MOUSEMOVE, [this](WPARAM, LPARAM) {
        DropHover();
        return LRESULT{0};
    });
    On(WM_KILLFOCUS, [this](WPARAM, LPARAM) {
        ToolBar_LostFocus();
        return LRESULT{0};
    });
    On(WM_DESTROY, [this](WPARAM, LPARAM) {
        if (tooltip_) DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        return LRESULT{0};
    });
}

ToolBarIcons::~ToolBarIcons() {
    if (picturesDc_ && picturesOriginal_) SelectObject(picturesDc_.get(), picturesOriginal_);
}

bool ToolBarIcons::Create(HWND parent, int id, int x, int y, int width) {
    if (width <= 0) {
        RECT client{};
        GetClientRect(parent, &client);
        width = client.right - x;
    }
    width = std::max(width, MinimumWidth);
    RegisterWindowClass(ToolBarClass, 0, GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateWindowFor(ToolBarClass, L"ToolBar", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, x, y, width,
                         Height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;

    if (!image_.Resize(ContainerWidth, ContainerHeight, GetSysColor(COLOR_BTNFACE), false)) return false;
    for (int groove : GrooveLefts) {
        DrawLine(image_.dc(), groove, 0, groove, 29, GetSysColor(COLOR_BTNSHADOW));
        DrawLine(image_.dc(), groove + 1, 0, groove + 1, 29, GetSysColor(COLOR_3DHILIGHT));
    }
    BuildPictures();
    for (int i = 0; i < ButtonCount; ++i) DrawButton(i);

    container_ = std::make_unique<Panel>(*this);
    return container_->Create(hwnd());
}

// Made when the pointer first comes over the buttons: a popup window costs the start-up more than the
// whole toolbar otherwise does.
HWND ToolBarIcons::Tooltip() {
    if (tooltip_ || !container_ || !container_->hwnd()) return tooltip_;
    tooltip_ = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; tooltip_ && i < ButtonCount; ++i) {
        std::wstring caption(Captions[static_cast<size_t>(i)]);
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = container_->hwnd();
        tool.uId = static_cast<UINT_PTR>(i);
        tool.rect = ButtonRect(i);
        tool.lpszText = caption.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return tooltip_;
}

void ToolBarIcons::BuildPictures() {
    const auto maps = ToolbarPictureMaps();
    const int width = Size * ButtonCount, height = 2 * Size;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueMemDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return;
    UniqueHBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    auto put = [&](int x, int y, COLORREF c) {
        pixels[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) put(x, y, face);
    for (size_t picture = 0; picture < maps.size() && picture < ButtonCount; ++picture) {
        const std::string_view map = maps[picture];
        const int left = static_cast<int>(picture) * Size;
        auto colourAt = [&](int x, int y) -> std::optional<COLORREF> {
            if (x < 0 || y < 0 || x >= Size || y >= Size) return std::nullopt;
            return PixelMapColour(map[static_cast<size_t>(y * Size + x)]);
        };
        for (int y = 0; y < Size; ++y)
            for (int x = 0; x < Size; ++x)
                if (auto c = colourAt(x, y)) {
                    put(left + x, y, *c);
                    put(left + x, Size + y, Greyed(*c, face));
                }
    }
    picturesOriginal_ = SelectObject(dc.get(), bitmap.get());
    picturesDc_ = std::move(dc);
    pictures_ = std::move(bitmap);
}

// The picture, enabled or greyed, at the button's place; the place it left is cleared to the face.
void ToolBarIcons::DrawButton(int index) {
    if (!picturesDc_ || !image_.dc()) return;
    const int left = ButtonLefts[static_cast<size_t>(index)];
    const RECT band{left, ButtonTop, left + Size + 1, ButtonTop + Size + 1};
    image_.Fill(band, GetSysColor(COLOR_BTNFACE));
    const RECT at = ButtonRect(index);
    BitBlt(image_.dc(), at.left, at.top, Size, Size, picturesDc_.get(), index * Size,
           ButtonEnabled(index) ? 0 : Size, SRCCOPY);
    Invalidate(band);
}

void ToolBarIcons::Invalidate(RECT area) {
    if (container_ && container_->hwnd()) InvalidateRect(container_->hwnd(), &area, FALSE);
}

int ToolBarIcons::ButtonAt(POINT point) const {
    for (int i = 0; i < ButtonCount; ++i) {
        const RECT r = ButtonRect(i);
        if (PtInRect(&r, point)) return i;
    }
    return NoButton;
}

void ToolBarIcons::MouseMessage(UINT message, WPARAM keys, POINT point) {
    // While pressed, the pressed button has the pointer, wherever it goes.
    const int index = pressed_ ? pressedIndex_ : ButtonAt(point);
    switch (message) {
    case WM_MOUSEMOVE: {
        if (!tooltip_ && Tooltip()) {
            // The move that made the tooltip came before it watched the container.
            MSG move{container_->hwnd(),
                     message,
                     keys,
                     MAKELPARAM(point.x, point.y),
                     static_cast<DWORD>(GetMessageTime()),
                     {}};
            GetCursorPos(&move.pt);
            SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
        }
        const int held =
            (keys & MK_LBUTTON ? 1 : 0) | (keys & MK_RBUTTON ? 2 : 0) | (keys & MK_MBUTTON ? 4 : 0);
        mnuicon_MouseMove(index, held, 0, static_cast<float>(point.x), static_cast<float>(point.y));
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (index != NoButton) Press(index, ButtonOf(message));
        return;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        if (index != NoButton) DoubleClick(index);
        return;
    default: { // the releases
        if (index == NoButton) return;
        const RECT r = ButtonRect(index);
        Release(index, ButtonOf(message), PtInRect(&r, point) != FALSE);
    }
    }
}

void ToolBarIcons::mnuicon_MouseMove(int index, int, int, float, float) {
    // A disabled button is background to the pointer.
    if (index != NoButton && !ButtonEnabled(index)) index = NoButton;
    if (index == hovered_) return;
    if (hovered_ != NoButton) DrawFrame(drawnX_, drawnY_, FrameKind::Erased);
    if (index != NoButton) {
        drawnX_ = ButtonLefts[static_cast<size_t>(index)] - 2;
        drawnY_ = ButtonTop - 2;
        DrawFrame(drawnX_, drawnY_, FrameKind::Raised);
    }
    hovered_ = index;
}

void ToolBarIcons::Press(int index, int button) {
    if (!ButtonEnabled(index)) return;
    lastButton_ = button;
    if (button == 2) return;
    const int x = ButtonLefts[static_cast<size_t>(index)] - 2, y = ButtonTop - 2;
    DrawFrame(x, y, FrameKind::Sunken);
    pressed_ = true;
    pressedIndex_ = index;
    DrawButton(index);
    if (container_) SetCapture(container_->hwnd());
}

void ToolBarIcons::Release(int index, int button, bool inside) {
    if (button == 2 || !pressed_) return;
    index = pressedIndex_;
    const int x = ButtonLefts[static_cast<size_t>(index)] - 2, y = ButtonTop - 2;
    DrawFrame(x, y, FrameKind::Raised);
    pressed_ = false;
    pressedIndex_ = -1;
    DrawButton(index);
    if (container_ && GetCapture() == container_->hwnd()) ReleaseCapture();
    // The release after a double click ends the second press; the double click was one click.
    const bool second = std::exchange(afterDoubleClick_, false);
    if (!inside || second || lastButton_ == 2) return;
    item_ = index;
    if (events_.Click) events_.Click(index);
}

void ToolBarIcons::DoubleClick(int index) {
    if (lastButton_ == 2 || !ButtonEnabled(index)) return;
    Press(index, 1);
    afterDoubleClick_ = pressed_;
}

void ToolBarIcons::DrawFrame(int x, int y, FrameKind kind) {
    HDC dc = image_.dc();
    if (!dc) return;
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    const int right = x + FrameSize, bottom = y + FrameSize;
    switch (kind) {
    case FrameKind::Raised:
        DrawBox(dc, x, y, right, bottom, light);
        DrawLine(dc, right, y, right, bottom, shadow);
        DrawLine(dc, x, bottom, right, bottom, shadow);
        break;
    case FrameKind::Sunken:
        DrawBox(dc, x, y, right, bottom, shadow);
        DrawLine(dc, right, y, right, bottom, light);
        DrawLine(dc, x, bottom, right + 1, bottom, light);
        break;
    case FrameKind::Erased:
        // Erased to the container's own face, so no trace is left whatever the border colour.
        DrawBox(dc, x, y, right, bottom, GetSysColor(COLOR_BTNFACE));
        break;
    }
    Invalidate(RECT{x, y, right + 2, bottom + 2});
}

void ToolBarIcons::SetButtonEnabled(int index, bool enabled) {
    if (index < 0 || index >= ButtonCount || enabled_[static_cast<size_t>(index)] == enabled) return;
    enabled_[static_cast<size_t>(index)] = enabled;
    if (!enabled && hovered_ == index) DropHover();
    DrawButton(index);
}

bool ToolBarIcons::ButtonEnabled(int index) const {
    return index >= 0 && index < ButtonCount && enabled_[static_cast<size_t>(index)];
}

RECT ToolBarIcons::ButtonRect(int index) const {
    if (index < 0 || index >= ButtonCount) return {};
    const int sunk = pressed_ && pressedIndex_ == index ? 1 : 0;
    const int left = ButtonLefts[static_cast<size_t>(index)] + sunk, top = ButtonTop + sunk;
    return {left, top, left + Size, top + Size};
}

HWND ToolBarIcons::ContainerHwnd() const {
    return container_ ? container_->hwnd() : nullptr;
}

void ToolBarIcons::OnDestroyed() {
    tooltip_ = nullptr;
}
