#pragma once
// Answers a real modal dialog (or, given the menu class "#32768", a pop-up menu) from inside its own message
// loop: a thread timer runs one step per tick while a window of that class of this thread is up, so a test
// presses buttons and keys as a user would and never blocks. Should the steps run out with the window still
// open, it is ended (a dialog with -2) and Completed() is false.
#include "platform/unique_handle.h"

#include <windows.h>
#include <doctest/doctest.h>

#include <functional>
#include <string>
#include <vector>

class DialogScript {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit DialogScript(std::vector<Step> steps, const wchar_t* windowClass = L"#32770")
        : steps_(std::move(steps)), class_(windowClass) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &DialogScript::Tick);
    }
    ~DialogScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    bool Completed() const { return next_ == steps_.size() && !forcedClose_; }

private:
    static BOOL CALLBACK FindDialog(HWND w, LPARAM out) {
        wchar_t className[8]{};
        GetClassNameW(w, className, 8);
        if (!current_ || className != current_->class_ || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
        DialogScript* self = current_;
        if (!self || !dialog) return;
        if (self->next_ < self->steps_.size()) {
            self->steps_[self->next_++](dialog);
        } else {
            self->forcedClose_ = true;
            if (self->class_ == L"#32768")
                EndMenu();
            else
                EndDialog(dialog, -2);
        }
    }

    static inline DialogScript* current_ = nullptr;
    std::vector<Step> steps_;
    std::wstring class_;
    size_t next_ = 0;
    bool forcedClose_ = false;
    UINT_PTR timer_ = 0;
};

// Handles every message waiting for this thread's windows.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

inline std::wstring TextOf(HWND w) {
    wchar_t buffer[1024]{};
    GetWindowTextW(w, buffer, 1024);
    return buffer;
}

// Presses the visible button with exactly this caption.
inline DialogScript::Step Click(const std::wstring& caption) {
    return [caption](HWND dialog) {
        HWND button = FindWindowExW(dialog, nullptr, L"Button", caption.c_str());
        CHECK_MESSAGE(button != nullptr, "no button captioned this way"); // no REQUIRE: this is a callback
        CHECK(IsWindowVisible(button));
        if (button) SendMessageW(button, BM_CLICK, 0, 0);
    };
}

// A key press on the focused control, through the dialog's own loop (so Esc and Enter act as for a user).
inline DialogScript::Step Key(UINT key) {
    return [key](HWND dialog) {
        HWND focus = GetFocus();
        PostMessageW(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, key, 0);
    };
}

// A control's rectangle in its dialog's client coordinates.
inline RECT ClientRectOf(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A visible top-level window to own the dialog, or hold the control, under test.
class OwnerWindow {
public:
    explicit OwnerWindow(DWORD style = 0)
        : hwnd_(CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE | style, 120, 90,
                                640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    HWND get() const { return hwnd_.get(); }

private:
    UniqueTopWindow hwnd_;
};
