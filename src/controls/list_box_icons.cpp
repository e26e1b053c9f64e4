#include "controls/list_box_icons.h"

#include "controls/buffered_paint.h"
#include "platform/gdi_guards.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr wchar_t ControlClass[] = L"TessalyListBoxIcons";
constexpr wchar_t FrameClass[] = L"TessalyListBoxIconsFrame";
constexpr wchar_t SurfaceClass[] = L"TessalyListBoxIconsSurface";
constexpr int FrameBorder = 2; // the sunken edge on each side

std::int16_t ShiftState() {
    std::int16_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

std::int16_t ButtonsHeld(WPARAM keys) {
    std::int16_t buttons = 0;
    if (keys & MK_LBUTTON) buttons |= 1;
    if (keys & MK_RBUTTON) buttons |= 2;
    if (keys & MK_MBUTTON) buttons |= 4;
    return buttons;
}

} // namespace

ListBoxIcons::Frame::Frame(ListBoxIcons& owner) {
    On(WM_SETFOCUS, [&owner](WPARAM, LPARAM) {
        SetFocus(owner.surface_.hwnd());
        return LRESULT{0};
    });
    On(WM_VSCROLL, [&owner](WPARAM request, LPARAM) {
        owner.OnScroll(request);
        return LRESULT{0};
    });
}

bool ListBoxIcons::Frame::Create(HWND parent) {
    RegisterWindowClass(FrameClass, 0, GetSysColorBrush(COLOR_WINDOW));
    return CreateWindowFor(FrameClass, L"Container", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                           WS_EX_CLIENTEDGE, 0, 0, 0, 0, parent, reinterpret_cast<HMENU>(1)) != nullptr;
}

ListBoxIcons::Surface::Surface(ListBoxIcons& owner) {
    OnPaint([&owner](HDC dc, const RECT& area) {
        if (owner.image_.dc())
            BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, owner.image_.dc(),
                   area.left, area.top, SRCCOPY);
    });
    On(WM_ERASEBKGND, [](WPARAM, LPARAM) { return LRESULT{1}; });
    On(WM_GETDLGCODE, [](WPARAM, LPARAM) { return LRESULT{DLGC_WANTARROWS | DLGC_WANTCHARS}; });
    const std::pair<UINT, int> presses[] = {{WM_LBUTTONDOWN, 1},
                                            {WM_RBUTTONDOWN, 2},
                                            {WM_MBUTTONDOWN, 4},
                                            {WM_RBUTTONDBLCLK, 2},
                                            {WM_MBUTTONDBLCLK, 4}};
    for (auto [message, button] : presses)
        On(message, [&owner, button](WPARAM, LPARAM point) {
            owner.OnButtonDown(button, point, false);
            return LRESULT{0};
        });
    On(WM_LBUTTONDBLCLK, [&owner](WPARAM, LPARAM point) {
        owner.OnButtonDown(1, point, true);
        return LRESULT{0};
    });
    const std::pair<UINT, int> releases[] = {{WM_LBUTTONUP, 1}, {WM_RBUTTONUP, 2}, {WM_MBUTTONUP, 4}};
    for (auto [message, button] : releases)
        On(message, [&owner, button](WPARAM, LPARAM point) {
            owner.OnButtonUp(button, point);
            return LRESULT{0};
        });
    On(WM_MOUSEMOVE, [&owner](WPARAM keys, LPARAM point) {
        owner.OnMouseMove(keys, point);
        return LRESULT{0};
    });
    On(WM_CAPTURECHANGED, [&owner](WPARAM, LPARAM) {
        owner.pressedButtons_ = 0;
        return LRESULT{0};
    });
    On(WM_MOUSEWHEEL, [&owner](WPARAM wParam, LPARAM) {
        owner.OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return LRESULT{0};
    });
    On(WM_KEYDOWN, [&owner](WPARAM key, LPARAM) {
        owner.OnKeyDown(key);
        return LRESULT{0};
    });
    On(WM_KEYUP, [&owner](WPARAM key, LPARAM) {
        if (owner.events_.KeyUp) owner.events_.KeyUp(static_cast<std::int16_t>(key), ShiftState());
        return LRESULT{0};
    });
    On(WM_CHAR, [&owner](WPARAM character, LPARAM) {
        if (owner.events_.KeyPress) owner.events_.KeyPress(static_cast<std::int16_t>(character));
        return LRESULT{0};
    });
}

bool ListBoxIcons::Surface::Create(HWND parent) {
    RegisterWindowClass(SurfaceClass, CS_DBLCLKS);
    return CreateWindowFor(SurfaceClass, L"lstMain", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(2)) != nullptr;
}

ListBoxIcons::ListBoxIcons(IconListModel& model)
    : model_(model), frame_(*this), surface_(*this), font_(MessageFont()) {
    On(WM_SIZE, [this](WPARAM, LPARAM size) {
        Layout(LOWORD(size), HIWORD(size));
        return LRESULT{0};
    });
    // The frame covers all of the control: nothing of the control itself is left to paint.
    On(WM_PAINT, [this](WPARAM, LPARAM) {
        ValidateRect(hwnd(), nullptr);
        return LRESULT{0};
    });
    On(WM_SETFOCUS, [this](WPARAM, LPARAM) {
        if (surface_.hwnd()) SetFocus(surface_.hwnd());
        return LRESULT{0};
    });
    On(WM_SETFONT, [this](WPARAM font, LPARAM) {
        font_ = font ? reinterpret_cast<HFONT>(font) : MessageFont();
        RedrawKeepingHighlight();
        return LRESULT{0};
    });
    On(WM_GETFONT, [this](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font_); });
    // Top-level windows get this message; a host that forwards it sees the list follow the new scheme.
    On(WM_SYSCOLORCHANGE, [this](WPARAM, LPARAM) {
        RedrawKeepingHighlight();
        return LRESULT{0};
    });
}

ListBoxIcons::~ListBoxIcons() {
    // Destroy the windows while every part they call on is still alive.
    if (hwnd()) DestroyWindow(hwnd());
    model_.SetObserver(nullptr);
}

bool ListBoxIcons::Create(HWND parent, int id, int x, int y, int width, int height, bool shown) {
    RegisterWindowClass(ControlClass, 0);
    if (!CreateWindowFor(ControlClass, L"",
                         WS_CHILD | (shown ? WS_VISIBLE : 0) | WS_CLIPCHILDREN | WS_TABSTOP, 0, x, y, width,
                         height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    if (!frame_.Create(hwnd()) || !surface_.Create(frame_.hwnd())) return false;
    scroll_ = CreateWindowExW(0, L"SCROLLBAR", L"Scroll", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0,
                              frame_.hwnd(), reinterpret_cast<HMENU>(3), GetModuleHandleW(nullptr), nullptr);
    if (!scroll_) return false;
    PaintThroughMemory(scroll_);
    // The surface reaches one pixel under the scroll bar, which must stay in front.
    SetWindowPos(scroll_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    model_.SetObserver(this);
    RECT client;
    GetClientRect(hwnd(), &client);
    Layout(client.right, client.bottom);
    // A model filled before its window shows its rows and its selection at once.
    if (model_.ListCount() > 0) DrawSelectedItem(model_.SelectedRow());
    Refresh();
    return true;
}

void ListBoxIcons::OnDestroyed() {
    model_.SetObserver(nullptr);
    image_.Release();
    pictures_.Clear();
    scroll_ = nullptr;
}

// --- layout and scrolling

int ListBoxIcons::FrameOuterHeight() const {
    RECT r{};
    if (frame_.hwnd()) GetWindowRect(frame_.hwnd(), &r);
    return r.bottom - r.top;
}

int ListBoxIcons::FrameInnerHeight() const {
    RECT r{};
    if (frame_.hwnd()) GetClientRect(frame_.hwnd(), &r);
    return r.bottom;
}

void ListBoxIcons::Layout(int width, int height) {
    if (!frame_.hwnd() || !surface_.hwnd() || !scroll_) return;
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    MoveWindow(frame_.hwnd(), 0, 0, width, height, TRUE);
    MoveWindow(scroll_, width - bar - 2 * FrameBorder, 0, bar, height - 2 * FrameBorder, TRUE);
    SizeSurface(width - bar - 3);
    // The range follows the frame, so a list laid out after it was filled still scrolls to its last row.
    UpdateScrollRange();
}

void ListBoxIcons::SizeSurface(int width) {
    width = std::max(width, 1);
    if (!image_.dc() || image_.width() != width) {
        image_.Resize(width, model_.SurfaceHeight(), GetSysColor(COLOR_WINDOW), false);
        // Captions are centred on the width, so a new width draws every row again.
        RedrawKeepingHighlight();
    }
    SetWindowPos(surface_.hwnd(), nullptr, 0, -scrollValue_, image_.width(), image_.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ListBoxIcons::UpdateScrollRange() {
    if (!scroll_) return;
    // A list that fits its frame has nothing to scroll; scrolling it would only move the rows out of view.
    scrollMax_ = std::clamp(model_.SurfaceHeight() - FrameInnerHeight(), 0, 32767);
    const int page = std::max(FrameInnerHeight(), 0);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    info.nMax = page > 0 ? scrollMax_ + page - 1 : scrollMax_;
    info.nPage = static_cast<UINT>(page);
    SetScrollInfo(scroll_, SB_CTL, &info, TRUE);
    SetScrollValue(scrollValue_);
}

void ListBoxIcons::SetScrollValue(int value) {
    scrollValue_ = std::clamp(value, 0, scrollMax_);
    if (scroll_) SetScrollPos(scroll_, SB_CTL, scrollValue_, TRUE);
    if (surface_.hwnd())
        SetWindowPos(surface_.hwnd(), nullptr, 0, -scrollValue_, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ListBoxIcons::OnScroll(WPARAM request) {
    switch (LOWORD(request)) {
    case SB_LINEUP:
        SetScrollValue(scrollValue_ - ArrowStep);
        break;
    case SB_LINEDOWN:
        SetScrollValue(scrollValue_ + ArrowStep);
        break;
    case SB_PAGEUP:
        SetScrollValue(scrollValue_ - PageStep);
        break;
    case SB_PAGEDOWN:
        SetScrollValue(scrollValue_ + PageStep);
        break;
    case SB_TOP:
        SetScrollValue(0);
        break;
    case SB_BOTTOM:
        SetScrollValue(scrollMax_);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(scroll_, SB_CTL, &info)) SetScrollValue(info.nTrackPos);
        break;
    }
    default:
        break;
    }
}

void ListBoxIcons::OnWheel(int delta) {
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int step = lines == WHEEL_PAGESCROLL ? PageStep : static_cast<int>(lines) * ArrowStep;
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ %= WHEEL_DELTA;
    if (notches != 0 && step > 0) SetScrollValue(scrollValue_ - notches * step);
}

// --- keys and mouse

void ListBoxIcons::OnKeyDown(WPARAM key) {
    Navigate(key);
    if (events_.KeyDown) events_.KeyDown(static_cast<std::int16_t>(key), ShiftState());
}

void ListBoxIcons::Navigate(WPARAM key) {
    const int top = model_.SelectedRow() * RowHeight;
    const int value = scrollValue_;
    const int frameHeight = FrameOuterHeight();
    const int surfaceHeight = model_.SurfaceHeight();
    auto newTop = [this] { return model_.SelectedRow() * RowHeight; };
    // The scroll test runs even when the selection could not move (first or last row).
    switch (key) {
    case VK_DOWN:
        model_.SelectAt(top + RowHeight);
        if (newTop() + RowHeight > value + frameHeight) SetScrollValue(value + ArrowStep);
        break;
    case VK_UP:
        model_.SelectAt(top - RowHeight);
        if (newTop() < value) SetScrollValue(value - ArrowStep);
        break;
    case VK_PRIOR:
        model_.SelectAt(top - 200 > 0 ? top - 200 : 0);
        if (newTop() < value) SetScrollValue(value - 200);
        break;
    case VK_NEXT:
        model_.SelectAt(top + 200 < surfaceHeight ? top + 200 : surfaceHeight - RowHeight);
        if (newTop() + 200 > value + frameHeight) SetScrollValue(value + 200);
        break;
    default:
        break;
    }
}

void ListBoxIcons::OnButtonDown(int button, LPARAM point, bool doubleClick) {
    SetFocus(surface_.hwnd());
    if (pressedButtons_ == 0) SetCapture(surface_.hwnd());
    pressedButtons_ |= button;
    if (button == 1) afterDoubleClick_ = doubleClick;
    model_.SelectAt(GET_Y_LPARAM(point));
    if (doubleClick && events_.DblClick) events_.DblClick();
}

void ListBoxIcons::OnButtonUp(int button, LPARAM point) {
    const bool pressedHere = (pressedButtons_ & button) != 0;
    const bool secondOfDouble = button == 1 && afterDoubleClick_;
    pressedButtons_ &= ~button;
    if (button == 1) afterDoubleClick_ = false;
    if (pressedButtons_ == 0 && GetCapture() == surface_.hwnd()) ReleaseCapture();
    const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point);
    if (events_.MouseUp) events_.MouseUp(static_cast<std::int16_t>(button), ShiftState(), float(x), float(y));
    // A click is a press and a release on the visible part of the surface.
    POINT at{x, y};
    RECT surface{0, 0, image_.width(), image_.height()};
    RECT frame{};
    GetClientRect(frame_.hwnd(), &frame);
    POINT inFrame = at;
    MapWindowPoints(surface_.hwnd(), frame_.hwnd(), &inFrame, 1);
    if (pressedHere && !secondOfDouble && PtInRect(&surface, at) && PtInRect(&frame, inFrame) &&
        events_.Click)
        events_.Click();
}

void ListBoxIcons::OnMouseMove(WPARAM keys, LPARAM point) {
    const std::int16_t buttons = ButtonsHeld(keys);
    const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point);
    if (events_.MouseMove) events_.MouseMove(buttons, ShiftState(), float(x), float(y));
    // Dragging with the left button moves the selection; within one row there is nothing to redraw.
    if (buttons == 1 && y >= 0 && y / RowHeight != model_.SelectedRow()) model_.SelectAt(y);
}

// --- drawing

const std::wstring& ListBoxIcons::DrawnCaption(int row) const {
    static const std::wstring none;
    return row >= 0 && row < IconListModel::Capacity ? drawnCaptions_[row] : none;
}

int ListBoxIcons::CaptionWidth(const std::wstring& caption) const {
    HDC dc = image_.dc();
    if (!dc) return 0;
    SelectGuard font(dc, font_);
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    return size.cx;
}

void ListBoxIcons::EraseBand(int top) {
    image_.Fill(RECT{0, top, image_.width(), top + RowHeight + 1}, GetSysColor(COLOR_WINDOW));
}

void ListBoxIcons::DrawCaption(int row, const std::wstring& caption, int top, COLORREF colour, size_t keep) {
    const int width = image_.width();
    std::wstring shown = caption;
    if (width - 60 < CaptionWidth(caption)) shown = caption.substr(0, keep) + L" ...";
    RECT place{(width + 50) / 2 - CaptionWidth(shown) / 2, top, width - 1, top + RowHeight};
    HDC dc = image_.dc();
    SelectGuard font(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &place, CaptionFormat);
    drawnCaptions_[row] = std::move(shown);
}

void ListBoxIcons::DrawRow(int row, int top, bool selected, bool firstDraw) {
    if (row < 0 || row >= IconListModel::Capacity) return;
    if (row >= model_.ListCount()) {
        drawnCaptions_[row].clear();
        return;
    }
    const IconListItem& item = model_.Items()[row];
    // The first draw of an item extracts its icon; redraws show an animated cursor's first frame.
    const bool asCursor = !firstDraw && IsAnimatedCursorPath(item.IconPath);
    if (HICON picture = pictures_.Picture(item.IconPath, item.IconIndex, asCursor))
        DrawIcon(image_.dc(), IconLeft, top + IconTop, picture);
    DrawCaption(row, item.Caption, top + CaptionTop,
                GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT),
                firstDraw ? FirstDrawKeep : RedrawKeep);
}

void ListBoxIcons::DrawItem(int row) {
    EraseBand(row * RowHeight);
    DrawRow(row, row * RowHeight, false, false);
    if (row == highlightedRow_) highlightedRow_ = -1;
}

void ListBoxIcons::DrawSelectedItem(int row) {
    const int top = row * RowHeight;
    RECT band{0, top, image_.width() - 1, top + RowHeight};
    image_.Fill(band, GetSysColor(COLOR_HIGHLIGHT));
    DrawFocusRect(image_.dc(), &band);
    DrawRow(row, top, true, false);
    highlightedRow_ = row;
}

void ListBoxIcons::RedrawKeepingHighlight() {
    const int highlighted = highlightedRow_;
    Redraw(-1);
    if (highlighted >= 0) DrawSelectedItem(highlighted);
    Refresh();
}

void ListBoxIcons::Refresh() {
    if (!surface_.hwnd()) return;
    InvalidateRect(surface_.hwnd(), nullptr, FALSE);
    UpdateWindow(surface_.hwnd());
}

void ListBoxIcons::ItemAdded(int row) {
    if (!image_.dc()) return;
    // A new item resets the selection to the first row with nothing highlighted.
    if (highlightedRow_ >= 0) DrawItem(highlightedRow_);
    if (model_.SurfaceHeight() > image_.height()) {
        image_.Resize(image_.width(), model_.SurfaceHeight(), GetSysColor(COLOR_WINDOW), true);
        SetWindowPos(surface_.hwnd(), nullptr, 0, 0, image_.width(), image_.height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    DrawRow(row, row * RowHeight, false, true);
    Refresh();
    UpdateScrollRange();
}

void ListBoxIcons::SelectionChanged(int oldRow, int newRow) {
    if (!image_.dc()) return;
    DrawItem(oldRow);
    if (highlightedRow_ >= 0) DrawItem(highlightedRow_);
    DrawSelectedItem(newRow);
    Refresh();
}

void ListBoxIcons::Redraw(int row) {
    if (!image_.dc()) return;
    if (row < 0) {
        image_.Fill(RECT{0, 0, image_.width(), image_.height()}, GetSysColor(COLOR_WINDOW));
        for (int r = 0; r < IconListModel::Capacity; ++r) DrawRow(r, r * RowHeight, false, false);
        highlightedRow_ = -1;
    } else if (row == highlightedRow_) {
        DrawSelectedItem(row);
    } else {
        DrawItem(row);
    }
    // The model follows a full redraw with a selection, which refreshes once for both.
    if (surface_.hwnd()) InvalidateRect(surface_.hwnd(), nullptr, FALSE);
}
