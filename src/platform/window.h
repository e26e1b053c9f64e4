#pragma once
// Bases for our windows and modal dialogs: each keeps `this` with the HWND and dispatches messages,
// commands and notifications to handlers the window registers, so no window carries one big switch.
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The handlers a window or dialog registers: by message, by command id, by notification id and code.
template <typename Result> class HandlerTable {
public:
    using MessageHandler = std::function<Result(WPARAM, LPARAM)>;
    using NotifyHandler = std::function<LRESULT(NMHDR*)>;

    void On(UINT message, MessageHandler handler) { messages_[message] = std::move(handler); }
    // WM_COMMAND from a control or menu entry, whatever its notification code.
    void OnCommand(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }
    void OnNotify(int id, UINT code, NotifyHandler handler) { notifies_[{id, code}] = std::move(handler); }

    bool HasCommand(int id) const { return commands_.contains(id); }
    // Runs the command handler for a WM_COMMAND; false when none is registered.
    bool RunCommand(WPARAM wParam) {
        auto it = commands_.find(LOWORD(wParam));
        if (it == commands_.end()) return false;
        auto handler = it->second; // the handler may re-register itself
        handler();
        return true;
    }
    // The notification handler's result for a WM_NOTIFY; none when none is registered.
    std::optional<LRESULT> RunNotify(LPARAM lParam) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        auto it = notifies_.find({static_cast<int>(header->idFrom), header->code});
        if (it == notifies_.end()) return std::nullopt;
        return it->second(header);
    }
    std::optional<Result> RunMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        auto it = messages_.find(message);
        if (it == messages_.end()) return std::nullopt;
        return it->second(wParam, lParam);
    }

private:
    std::unordered_map<UINT, MessageHandler> messages_;
    std::unordered_map<int, std::function<void()>> commands_;
    std::map<std::pair<int, UINT>, NotifyHandler> notifies_;
};

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    // Whether a command handler is registered for id (menu entries without one are shown disabled).
    bool HasCommand(int id) const { return handlers_.HasCommand(id); }

protected:
    using MessageHandler = HandlerTable<LRESULT>::MessageHandler;
    using NotifyHandler = HandlerTable<LRESULT>::NotifyHandler;

    // Registers the class on first use; every window of the class is dispatched through `this`.
    static void RegisterWindowClass(const wchar_t* className, UINT style = CS_DBLCLKS,
                                    HBRUSH background = nullptr, HICON icon = nullptr,
                                    HCURSOR cursor = nullptr);
    HWND CreateWindowFor(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x,
                         int y, int width, int height, HWND parent, HMENU menuOrId);

    void On(UINT message, MessageHandler handler) { handlers_.On(message, std::move(handler)); }
    // WM_COMMAND from a control or menu entry, whatever its notification code.
    void OnCommand(int id, std::function<void()> handler) { handlers_.OnCommand(id, std::move(handler)); }
    void OnNotify(int id, UINT code, NotifyHandler handler) {
        handlers_.OnNotify(id, code, std::move(handler));
    }
    // The window's painting, for WM_PAINT and for WM_PRINTCLIENT's device context; area is the part to
    // paint, in client coordinates.
    void OnPaint(std::function<void(HDC dc, const RECT& area)> paint);

    // Called after the window is gone; the object may not touch hwnd() any more.
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT LastMessage(WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HandlerTable<LRESULT> handlers_;
};

// The font dialogs and messages use, owned once for the process.
HFONT MessageFont();
// The system's arrow pointer, loaded once: each load asks Wine's window server about the display again.
HCURSOR ArrowCursor();
// The display's pixels per inch across and down, read once: they stay until the user signs in again.
SIZE ScreenPixelsPerInch();

// A child window with no border, edge or scroll bar: nothing of it lies outside its client area. Its
// WM_NCPAINT needs no default painting, which would only fetch a device context and draw nothing.
bool IsFramelessChild(HWND hwnd);

// Gives a system control `procedure` in place of its own, which the new one reaches through
// OwnProcedure or CallOwnProcedure. The program keeps the old one: the common controls' subclassing would
// ask the window server for a property on every message. Never for a window made through Window.
void ReplaceProcedure(HWND control, WNDPROC procedure);
WNDPROC OwnProcedure(HWND control);
// Passes a message on to the control's own procedure; the replacement hands WM_NCDESTROY on through it, so
// that the program forgets the control with its window.
LRESULT CallOwnProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
// The control skips the default painting of its frame while it has none.
void SkipFramePainting(HWND control);

// An in-memory dialog template: the dialog and its controls, built in code so that any program linking
// the dialog has it without a resource script. Positions are dialog units; dialogs that lay themselves
// out in pixels may leave them zero and move the controls when they start.
class DialogTemplate {
public:
    DialogTemplate(std::wstring_view caption, DWORD style, DWORD exStyle = 0);
    // className is a window class name ("BUTTON", "STATIC"); controls are created in the order added,
    // which is also their tab order.
    void AddControl(std::wstring_view className, std::wstring_view text, int id, DWORD style,
                    DWORD exStyle = 0, short x = 0, short y = 0, short cx = 0, short cy = 0);
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Append(DWORD value);
    void Append(std::wstring_view textWithoutNul);
    void AlignToDword();

    std::vector<WORD> words_;
};

// Base for our modal dialogs: keeps `this` with the HWND from WM_INITDIALOG and dispatches to registered
// handlers as Window does. Every exception stops at the dialog procedure.
class Dialog {
public:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog() = default;

    HWND hwnd() const { return hwnd_; }

protected:
    // The value the dialog procedure returns: TRUE when handled (or what the message defines, such as a
    // brush for WM_CTLCOLOR*), FALSE to leave the message to the dialog manager.
    using MessageHandler = HandlerTable<INT_PTR>::MessageHandler;
    using NotifyHandler = HandlerTable<INT_PTR>::NotifyHandler;

    // Shows the dialog modally over owner and returns the value given to EndModal; -1 when the dialog
    // could not be created or failed to start.
    INT_PTR RunModal(const DialogTemplate& layout, HWND owner);
    void EndModal(INT_PTR result);

    // WM_INITDIALOG is registered like any other message.
    void On(UINT message, MessageHandler handler) { handlers_.On(message, std::move(handler)); }
    void OnCommand(int id, std::function<void()> handler) { handlers_.OnCommand(id, std::move(handler)); }
    void OnNotify(int id, UINT code, NotifyHandler handler) {
        handlers_.OnNotify(id, code, std::move(handler));
    }

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HandlerTable<INT_PTR> handlers_;
};
