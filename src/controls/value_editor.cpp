#include "controls/value_editor.h"

#include "platform/gdi_guards.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr int FrameGap = 2; // between the tree and the frame
constexpr int Inset = 12, RowHeight = 21, TextWidth = 64, ComboWidth = 150, ComboListHeight = 100;

HWND MakeChild(HWND parent, const wchar_t* className, int id, DWORD style, DWORD exStyle = 0) {
    HWND child = CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    return child;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
} // namespace

ValueEditor::ValueEditor() {
    On(WM_SIZE, [this](WPARAM, LPARAM lParam) {
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    });
    On(WM_PAINT, [this](WPARAM, LPARAM) {
        Frame_Paint();
        return 0;
    });
    // The unit label on the editor's own face.
    On(WM_CTLCOLORSTATIC, [](WPARAM wParam, LPARAM) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    });
    On(WM_VSCROLL, [this](WPARAM wParam, LPARAM lParam) {
        if (reinterpret_cast<HWND>(lParam) == scroll_) SystemScroll_Change(LOWORD(wParam), HIWORD(wParam));
        return 0;
    });
    On(WM_COMMAND, [this](WPARAM wParam, LPARAM) {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IdText && code == EN_SETFOCUS) SendMessageW(text_, EM_SETSEL, 0, -1);
        if (id == IdCombo && code == CBN_SELCHANGE) SystemCombo_Click();
        if (id == IdCombo && code == CBN_EDITCHANGE && events_.ComboChange)
            events_.ComboChange(TextOf(combo_));
        return 0;
    });
}

bool ValueEditor::Create(HWND parent, int id, const std::vector<std::wstring>& choices) {
    RegisterWindowClass(ValueEditorClass, 0, GetSysColorBrush(COLOR_BTNFACE));
    if (!CreateWindowFor(ValueEditorClass, L"", WS_CHILD | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    text_ = MakeChild(hwnd(), L"EDIT", IdText, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    scroll_ = MakeChild(hwnd(), L"SCROLLBAR", IdScroll, WS_TABSTOP | SBS_VERT);
    caption_ = MakeChild(hwnd(), L"STATIC", IdCaption, SS_LEFT | SS_NOPREFIX);
    combo_ =
        MakeChild(hwnd(), L"COMBOBOX", IdCombo, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL);
    if (!text_ || !scroll_ || !caption_ || !combo_) return false;
    SetScrollRange(scroll_, SB_CTL, 0, SpinTop, FALSE);
    for (const std::wstring& choice : choices)
        SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    SetWindowSubclass(text_, &ValueEditor::TextProc, 1, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

void ValueEditor::OnDestroyed() {
    caption_ = scroll_ = text_ = combo_ = nullptr;
}

void ValueEditor::Layout(int width, int height) {
    if (!text_) return;
    InvalidateRect(hwnd(), nullptr, TRUE);
    // Below the frame's caption, in the middle of what is left.
    const int top = std::max(15, (height + 8 - RowHeight) / 2);
    const int scrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    MoveWindow(text_, Inset, top, TextWidth, RowHeight, TRUE);
    MoveWindow(scroll_, Inset + TextWidth, top, scrollWidth, RowHeight, TRUE);
    MoveWindow(combo_, Inset, top, ComboWidth, RowHeight + ComboListHeight, TRUE);
    const int captionLeft = Inset + (choice_ ? ComboWidth : TextWidth + scrollWidth) + 8;
    MoveWindow(caption_, captionLeft, top + 3, std::max(0, width - captionLeft - Inset), RowHeight - 4, TRUE);
}

void ValueEditor::Relayout() {
    RECT client;
    GetClientRect(hwnd(), &client);
    Layout(client.right, client.bottom);
}

void ValueEditor::ShowNumber(const std::wstring& caption, const std::wstring& unit, int value) {
    SetWindowTextW(hwnd(), caption.c_str());
    InvalidateRect(hwnd(), nullptr, TRUE);
    SetWindowTextW(caption_, unit.c_str());
    ShowValue(value);
    choice_ = false;
    Relayout();
    ShowWindow(combo_, SW_HIDE);
    for (HWND shown : {caption_, text_, scroll_}) ShowWindow(shown, SW_SHOW);
}

void ValueEditor::ShowChoice(const std::wstring& caption, const std::wstring& unit,
                             const std::wstring& text) {
    SetWindowTextW(hwnd(), caption.c_str());
    InvalidateRect(hwnd(), nullptr, TRUE);
    SetWindowTextW(caption_, unit.c_str());
    const auto index = SendMessageW(combo_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(combo_, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index, 0);
    // A verb typed earlier is no entry of the list, but it is what is staged.
    SetWindowTextW(combo_, text.c_str());
    choice_ = true;
    Relayout();
    for (HWND hidden : {text_, scroll_}) ShowWindow(hidden, SW_HIDE);
    ShowWindow(caption_, unit.empty() ? SW_HIDE : SW_SHOW);
    ShowWindow(combo_, SW_SHOW);
}

// An etched frame with the caption set into its top edge.
void ValueEditor::Frame_Paint() {
    PaintGuard paint(hwnd());
    RECT client;
    GetClientRect(hwnd(), &client);
    const std::wstring caption = TextOf(hwnd());
    SelectGuard font(paint.dc(), MessageFont());
    TEXTMETRICW metrics{};
    GetTextMetricsW(paint.dc(), &metrics);
    RECT edge = client;
    edge.top += FrameGap + metrics.tmHeight / 2;
    DrawEdge(paint.dc(), &edge, EDGE_ETCHED, BF_RECT);
    if (caption.empty()) return;
    RECT text{8, FrameGap, client.right - 8, FrameGap + metrics.tmHeight};
    DrawTextW(paint.dc(), caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    text.left -= 2;
    text.right = std::min(text.right + 2, client.right - 8);
    SetBkColor(paint.dc(), GetSysColor(COLOR_BTNFACE));
    SetTextColor(paint.dc(), GetSysColor(COLOR_BTNTEXT));
    ExtTextOutW(paint.dc(), text.left + 2, text.top, ETO_OPAQUE | ETO_CLIPPED, &text, caption.c_str(),
                static_cast<UINT>(caption.size()), nullptr);
}

void ValueEditor::ShowValue(int value) {
    SetScrollValue(value);
    SetWindowTextW(text_, std::to_wstring(value).c_str());
    SendMessageW(text_, EM_SETSEL, 0, -1);
}

void ValueEditor::SetScrollValue(int value) {
    SetScrollPos(scroll_, SB_CTL, SpinTop - std::clamp(value, 0, SpinTop), TRUE);
}

int ValueEditor::ScrollValue() const {
    return SpinTop - GetScrollPos(scroll_, SB_CTL);
}

std::wstring ValueEditor::Text() const {
    return TextOf(text_);
}

void ValueEditor::UndoTyping() {
    SendMessageW(text_, WM_UNDO, 0, 0);
}

void ValueEditor::KeepTyping() {
    SendMessageW(text_, EM_EMPTYUNDOBUFFER, 0, 0);
}

void ValueEditor::SystemScroll_Change(int code, int thumb) {
    const int before = ScrollValue();
    int value = before;
    switch (code) {
    case SB_LINEUP:
        value += 1;
        break;
    case SB_LINEDOWN:
        value -= 1;
        break;
    case SB_PAGEUP:
        value += 10;
        break;
    case SB_PAGEDOWN:
        value -= 10;
        break;
    case SB_THUMBPOSITION:
        value = SpinTop - thumb;
        break;
    case SB_TOP:
        value = SpinTop;
        break;
    case SB_BOTTOM:
        value = 0;
        break;
    default:
        return;
    }
    value = std::clamp(value, 0, SpinTop);
    if (value == before) return;
    SetScrollValue(value);
    if (events_.ScrollChange) events_.ScrollChange(value);
}

void ValueEditor::SystemCombo_Click() {
    const auto index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR || !events_.ComboChange) return;
    const auto length = SendMessageW(combo_, CB_GETLBTEXTLEN, index, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageW(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    events_.ComboChange(text);
}

LRESULT CALLBACK ValueEditor::TextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self) {
    try {
        if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &ValueEditor::TextProc, id);
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        auto* editor = reinterpret_cast<ValueEditor*>(self);
        if (message == WM_KEYUP && editor->events_.TextKeyUp) editor->events_.TextKeyUp();
        return result;
    } catch (...) {
        return 0;
    }
}
