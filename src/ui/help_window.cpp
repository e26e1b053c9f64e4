#include "ui/help_window.h"

#include "help/help_book.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr int Margin = 8, IndexWidth = 190, ButtonHeight = 24, LabelHeight = 16, EditHeight = 22;
constexpr int LinksHeight = 96;
// The controls in tab order.
constexpr int TabOrder[] = {HelpWindow::IdBack,  HelpWindow::IdContents, HelpWindow::IdSearch,
                            HelpWindow::IdIndex, HelpWindow::IdBody,     HelpWindow::IdLinks};

std::wstring TextOf(HWND w) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}
} // namespace

HelpWindow& HelpWindow::Instance() {
    static HelpWindow window;
    return window;
}

HelpWindow::HelpWindow() {
    On(WM_CREATE, [this](WPARAM, LPARAM) {
        Form_Load();
        return 0;
    });
    On(WM_SIZE, [this](WPARAM, LPARAM) {
        Form_Resize();
        return 0;
    });
    On(WM_GETMINMAXINFO, [](WPARAM, LPARAM info) {
        reinterpret_cast<MINMAXINFO*>(info)->ptMinTrackSize = {460, 320};
        return 0;
    });
    On(WM_KEYDOWN, [this](WPARAM key, LPARAM) {
        Control_KeyDown(hwnd(), key);
        return 0;
    });
    OnCommand(IdBack, [this] { Back(); });
    OnCommand(IdContents, [this] { Open(HelpTopics::Contents, true); });
    // The box and the lists speak through notification codes, which command handlers do not see.
    On(WM_COMMAND, [this](WPARAM wParam, LPARAM) {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IdSearch && code == EN_CHANGE) FillIndex();
        if (code != LBN_SELCHANGE) return 0;
        if (id == IdIndex)
            OpenIndexEntry(static_cast<int>(SendDlgItemMessageW(hwnd(), IdIndex, LB_GETCURSEL, 0, 0)));
        if (id == IdLinks)
            OpenLink(static_cast<int>(SendDlgItemMessageW(hwnd(), IdLinks, LB_GETCURSEL, 0, 0)));
        return 0;
    });
}

bool HelpWindow::EnsureCreated() {
    if (hwnd()) return true;
    RegisterWindowClass(HelpWindowClass, 0, GetSysColorBrush(COLOR_BTNFACE));
    return CreateWindowFor(HelpWindowClass, HelpWindowCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                           CW_USEDEFAULT, CW_USEDEFAULT, 640, 470, nullptr, nullptr) != nullptr;
}

void HelpWindow::Form_Load() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto add = [&](const wchar_t* className, const wchar_t* text, int id, DWORD style, DWORD exStyle = 0) {
        HWND control =
            CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
        SetWindowSubclass(control, &HelpWindow::ChildProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
        return control;
    };
    add(L"BUTTON", L"< &Back", IdBack, WS_TABSTOP | BS_PUSHBUTTON);
    add(L"BUTTON", L"Con&tents", IdContents, WS_TABSTOP | BS_PUSHBUTTON);
    add(L"STATIC", L"&Search:", IdSearchLabel, SS_LEFT);
    add(L"EDIT", L"", IdSearch, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    add(L"LISTBOX", L"", IdIndex, WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
        WS_EX_CLIENTEDGE);
    HWND title = add(L"STATIC", L"", IdTitle, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS);
    add(L"EDIT", L"", IdBody, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
        WS_EX_CLIENTEDGE);
    add(L"STATIC", L"Related topics:", IdLinksLabel, SS_LEFT);
    add(L"LISTBOX", L"", IdLinks, WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
        WS_EX_CLIENTEDGE);

    LOGFONTW font{};
    GetObjectW(MessageFont(), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    font.lfHeight = font.lfHeight * 4 / 3;
    titleFont_.reset(CreateFontIndirectW(&font));
    SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
    FillIndex();
    Form_Resize();
}

void HelpWindow::Form_Resize() {
    HWND w = hwnd();
    if (!GetDlgItem(w, IdLinks)) return;
    RECT client;
    GetClientRect(w, &client);
    auto place = [&](int id, int x, int y, int width, int height) {
        MoveWindow(GetDlgItem(w, id), x, y, std::max(width, 0), std::max(height, 0), TRUE);
    };
    const int top = Margin + ButtonHeight + Margin, bottom = client.bottom - Margin;
    place(IdBack, Margin, Margin, 80, ButtonHeight);
    place(IdContents, Margin + 86, Margin, 80, ButtonHeight);
    place(IdSearchLabel, Margin, top, IndexWidth, LabelHeight);
    place(IdSearch, Margin, top + LabelHeight + 2, IndexWidth, EditHeight);
    const int indexTop = top + LabelHeight + 2 + EditHeight + 4;
    place(IdIndex, Margin, indexTop, IndexWidth, bottom - indexTop);

    const int left = Margin + IndexWidth + Margin, width = client.right - left - Margin;
    place(IdTitle, left, top, width, LabelHeight + 6);
    const int bodyTop = top + LabelHeight + 10;
    const int linksTop = bottom - LinksHeight, linksLabelTop = linksTop - LabelHeight - 2;
    place(IdBody, left, bodyTop, width, linksLabelTop - 6 - bodyTop);
    place(IdLinksLabel, left, linksLabelTop, width, LabelHeight);
    place(IdLinks, left, linksTop, width, LinksHeight);
}

bool HelpWindow::ShowTopic(int number) {
    if (!EnsureCreated()) return false;
    const bool found = HelpBook::Program().ByNumber(number) != nullptr;
    Open(found ? number : HelpTopics::Contents, true);
    if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    BringWindowToTop(hwnd());
    return found;
}

void HelpWindow::ShowKeyword(const std::wstring& keyword) {
    if (const HelpPage* topic = HelpBook::Program().ByKeyword(keyword)) {
        ShowTopic(topic->number);
        return;
    }
    ShowTopic(HelpTopics::Contents);
    SetDlgItemTextW(hwnd(), IdSearch, keyword.c_str());
    FillIndex();
}

void HelpWindow::Open(int number, bool remember) {
    const HelpPage* topic = HelpBook::Program().ByNumber(number);
    if (!topic || !hwnd()) return;
    if (remember && current_ && current_ != number) history_.push_back(current_);
    current_ = number;
    HWND w = hwnd();
    SetDlgItemTextW(w, IdTitle, topic->title.c_str());
    SetDlgItemTextW(w, IdBody, topic->PlainText(L"\r\n").c_str());
    HWND links = GetDlgItem(w, IdLinks);
    SendMessageW(links, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& link : topic->Links()) {
        const HelpPage* target = HelpBook::Program().ByTitle(link);
        if (!target) target = HelpBook::Program().ByKeyword(link);
        if (!target) continue;
        const auto row =
            SendMessageW(links, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(target->title.c_str()));
        SendMessageW(links, LB_SETITEMDATA, row, target->number);
    }
    EnableWindow(GetDlgItem(w, IdBack), !history_.empty());
    SetWindowTextW(w, (std::wstring(HelpWindowCaption) + L" - " + topic->title).c_str());
}

void HelpWindow::Back() {
    if (history_.empty()) return;
    const int previous = history_.back();
    history_.pop_back();
    Open(previous, false);
}

void HelpWindow::Close() {
    if (hwnd()) DestroyWindow(hwnd());
}

void HelpWindow::FillIndex() {
    HWND index = GetDlgItem(hwnd(), IdIndex);
    SendMessageW(index, WM_SETREDRAW, FALSE, 0);
    SendMessageW(index, LB_RESETCONTENT, 0, 0);
    for (const HelpIndexEntry& entry : HelpBook::Program().Search(TextOf(GetDlgItem(hwnd(), IdSearch)))) {
        const auto row = SendMessageW(index, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
        SendMessageW(index, LB_SETITEMDATA, row, entry.topic);
    }
    SendMessageW(index, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(index, nullptr, TRUE);
}

void HelpWindow::OpenIndexEntry(int row) {
    const auto topic = SendMessageW(GetDlgItem(hwnd(), IdIndex), LB_GETITEMDATA, row, 0);
    if (topic != LB_ERR) Open(static_cast<int>(topic), true);
}

void HelpWindow::OpenLink(int row) {
    const auto topic = SendDlgItemMessageW(hwnd(), IdLinks, LB_GETITEMDATA, row, 0);
    if (topic != LB_ERR) Open(static_cast<int>(topic), true);
}

void HelpWindow::Control_KeyDown(HWND control, WPARAM key) {
    if (key == VK_ESCAPE) {
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    } else if (key == VK_RETURN && GetDlgCtrlID(control) == IdSearch) {
        OpenIndexEntry(0);
    } else if (key == VK_TAB) {
        // Plain windows have no dialog manager: move through the controls in order.
        const int id = GetDlgCtrlID(control);
        const auto* at = std::find(std::begin(TabOrder), std::end(TabOrder), id);
        const int count = static_cast<int>(std::size(TabOrder));
        int i = at == std::end(TabOrder) ? 0 : static_cast<int>(at - std::begin(TabOrder));
        const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
        for (int n = 0; n < count; ++n) {
            i = (i + step) % count;
            HWND next = GetDlgItem(hwnd(), TabOrder[i]);
            if (IsWindowEnabled(next)) {
                SetFocus(next);
                break;
            }
        }
    }
}

LRESULT CALLBACK HelpWindow::ChildProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
    try {
        auto* window = reinterpret_cast<HelpWindow*>(self);
        if (message == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_TAB ||
                                      (wParam == VK_RETURN && GetDlgCtrlID(control) == IdSearch))) {
            window->Control_KeyDown(control, wParam);
            return 0;
        }
        if (message == WM_CHAR && (wParam == VK_ESCAPE || wParam == VK_TAB || wParam == VK_RETURN) &&
            GetDlgCtrlID(control) == IdSearch)
            return 0; // no beep in a one-line box
        if (message == WM_NCDESTROY) RemoveWindowSubclass(control, &HelpWindow::ChildProcedure, 0);
    } catch (...) {
        return 0;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void HelpWindow::OnDestroyed() {
    current_ = 0;
    history_.clear();
    titleFont_.reset();
}

void OpenHelpWindow(UINT command, const std::wstring& keyword, ULONG_PTR topic) {
    HelpWindow& window = HelpWindow::Instance();
    switch (command) {
    case HELP_KEY:
    case HELP_PARTIALKEY:
        window.ShowKeyword(keyword);
        break;
    case HELP_CONTEXT:
    case HELP_CONTEXTPOPUP:
        window.ShowTopic(static_cast<int>(topic));
        break;
    default: // contents, finder, index
        window.ShowTopic(HelpTopics::Contents);
        break;
    }
}
