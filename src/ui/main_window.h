#pragma once
// `Main`: the program's one main window, from start to end.
#include "platform/startup_facts.h"
#include "platform/window.h"

#include <array>
#include <string_view>

inline constexpr wchar_t MainWindowClass[] = L"TessalyMain";

// The tab strip's captions in order; tab index 1 is "Shell".
inline constexpr std::array<std::wstring_view, 8> TabCaptions = {L"Shell",  L"Desktop", L"Start",  L"Folders",
                                                                 L"Drives", L"Others",  L"System", L"Pointer"};

class MainWindow : public Window {
public:
    explicit MainWindow(const StartupFacts& facts);
    // Creates the window and its controls; false when the system refuses.
    bool Create();
    HWND TabStrip() const { return TabStrip_; }

private:
    void Form_Load();
    void Form_Resize();
    void OnDestroyed() override;

    const StartupFacts& facts_;
    HWND TabStrip_ = nullptr;
};
