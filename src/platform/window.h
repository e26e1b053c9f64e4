#pragma once
// Base for our windows: keeps `this` with the HWND and dispatches messages, commands and notifications
// to handlers each window registers, so no window carries one big switch.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

protected:
    using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;
    using NotifyHandler = std::function<LRESULT(NMHDR*)>;

    // Registers the class on first use; every window of the class is dispatched through `this`.
    static void RegisterWindowClass(const wchar_t* className, UINT style = CS_DBLCLKS, HBRUSH background = nullptr,
                                    HICON icon = nullptr, HCURSOR cursor = nullptr);
    HWND CreateWindowFor(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x, int y,
                         int width, int height, HWND parent, HMENU menuOrId);

    void On(UINT message, MessageHandler handler) { messages_[message] = std::move(handler); }
    // WM_COMMAND from a control or menu entry, whatever its notification code.
    void OnCommand(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }
    void OnNotify(int id, UINT code, NotifyHandler handler) { notifies_[{id, code}] = std::move(handler); }

    // Called after the window is gone; the object may not touch hwnd() any more.
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    std::unordered_map<UINT, MessageHandler> messages_;
    std::unordered_map<int, std::function<void()>> commands_;
    std::map<std::pair<int, UINT>, NotifyHandler> notifies_;
};

// The font dialogs and messages use, owned once for the process.
HFONT MessageFont();
