#pragma once
// The help window: one topic at a time beside the index, with a search box over the index, the topic's
// links, Back and Contents. There is one help window at a time; asking again brings it to the front.
#include "platform/unique_handle.h"
#include "platform/window.h"

#include <string>
#include <vector>

inline constexpr wchar_t HelpWindowClass[] = L"TessalyHelp";
inline constexpr wchar_t HelpWindowCaption[] = L"Tessaly Help";

class HelpWindow : public Window {
public:
    enum ControlId : int {
        IdBack = 100,
        IdContents,
        IdSearchLabel,
        IdSearch,
        IdIndex,
        IdTitle,
        IdBody,
        IdLinksLabel,
        IdLinks,
    };

    // The one help window of the program.
    static HelpWindow& Instance();

    // Shows a topic, creating the window if need be and bringing it to the front; false when there is
    // no such topic (the window then shows the contents).
    bool ShowTopic(int number);
    // The topic a keyword leads to (partial match, letter case not counting); when none does, the
    // contents with the keyword in the search box.
    void ShowKeyword(const std::wstring& keyword);
    void Back();
    void Close();

    int CurrentTopic() const { return current_; }

private:
    HelpWindow();
    bool EnsureCreated();
    void Form_Load();
    void Form_Resize();
    void Open(int number, bool remember);
    void FillIndex();
    void OpenIndexEntry(int row);
    void OpenLink(int row);
    void Control_KeyDown(HWND control, WPARAM key);
    void OnDestroyed() override;
    static LRESULT CALLBACK ChildProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    int current_ = 0;
    std::vector<int> history_;
    UniqueHFont titleFont_;
};

// What the system port's help calls come to: the command and keyword or topic number of WinHelp's calls,
// shown in the help window.
void OpenHelpWindow(UINT command, const std::wstring& keyword, ULONG_PTR topic);
