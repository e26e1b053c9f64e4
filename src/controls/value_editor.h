#pragma once
// `SystemFrame` and what it holds: the value editor below the settings tree. `SystemCaption` names the
// unit, `SystemScroll` is the spin control (values 0 to 9999, the up arrow increasing, steps of 1 and 10),
// `SystemText` holds the number as text and `SystemCombo` the folder verb. The editor reports what the user
// does and shows what it is told; it decides nothing.
#include "platform/window.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

inline constexpr wchar_t ValueEditorClass[] = L"TessalyValueEditor";

class ValueEditor : public Window {
public:
    struct Events {
        // The spin control moved to a new value.
        std::function<void(int value)> ScrollChange;
        // A key was released in the text box.
        std::function<void()> TextKeyUp;
        // An entry was picked or typed in the combo box; the text it holds now.
        std::function<void(const std::wstring& text)> ComboChange;
    };

    static constexpr int IdCaption = 2, IdScroll = 3, IdText = 4, IdCombo = 5;
    static constexpr int SpinTop = 9999;

    ValueEditor();
    // Created hidden; `choices` fill the combo box's list.
    bool Create(HWND parent, int id, const std::vector<std::wstring>& choices);
    void SetEvents(Events events) { events_ = std::move(events); }

    // A number: the frame captioned, the unit, the text box and the spin control; the combo box hidden.
    void ShowNumber(const std::wstring& caption, const std::wstring& unit, int value);
    // A choice: the frame captioned, the unit label (with `unit`) and the combo box holding `text`.
    void ShowChoice(const std::wstring& caption, const std::wstring& unit, const std::wstring& text);
    // The spin control and the text box show the value, the whole text selected. No event follows.
    void ShowValue(int value);
    void SetScrollValue(int value);
    int ScrollValue() const;
    std::wstring Text() const;
    // Takes back the last edit in the text box.
    void UndoTyping();
    // The edits so far stay: an undo takes back only what is typed from now on.
    void KeepTyping();

    // The frame is the editor itself; its caption is the window text.
    HWND SystemFrame() const { return hwnd(); }
    HWND SystemCaption() const { return caption_; }
    HWND SystemScroll() const { return scroll_; }
    HWND SystemText() const { return text_; }
    HWND SystemCombo() const { return combo_; }

private:
    void Layout(int width, int height);
    void Relayout();
    void Frame_Paint();
    void SystemScroll_Change(int code, int thumb);
    void SystemCombo_Click();
    static LRESULT CALLBACK TextProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void OnDestroyed() override;

    HWND caption_ = nullptr, scroll_ = nullptr, text_ = nullptr, combo_ = nullptr;
    Events events_;
    bool choice_ = false; // the unit label stands beside the combo box, not the spin control
};
