#pragma once
// `frmAbout`: the program's name and version, links to the author's web page and e-mail address, and a live
// "System Information" panel with the machine's total and available physical memory. Modal; Esc or Close
// ends it. Labels are addressed by index, as `label(i)`; their control ids are LabelId(i).
#include "platform/ports.h"
#include "platform/unique_handle.h"
#include "platform/window.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct ProgramVersion {
    int major = 0, minor = 0, build = 0, revision = 0;
};
// The file version in a program file's version resource; none when it has none.
std::optional<ProgramVersion> ReadProgramVersion(const std::wstring& path);
// "Version " major ".0" minor ".0" revision " a": 2.2.0.236 gives "Version 2.02.0236 a".
std::wstring VersionLine(const ProgramVersion& version);

struct MemoryFigures {
    std::uint64_t totalBytes = 0, availableBytes = 0;
};
// The physical memory from GlobalMemoryStatusEx; none when the call fails.
std::optional<MemoryFigures> ReadMemoryStatus();
// Bytes as whole kilobytes (rounded), in groups of three digits, followed by " Kb": 16 MB gives "16,384 Kb"
// with a comma as the separator.
std::wstring FormatKilobytes(std::uint64_t bytes, std::wstring_view thousandsSeparator);
// The user's thousands separator.
std::wstring UserThousandsSeparator();

class frmAbout : public Dialog {
public:
    using MemoryReader = std::function<std::optional<MemoryFigures>()>;

    static constexpr int IdClose = IDOK;  // `cmdClose`
    static constexpr int IdPicture = 100; // `picIcon`
    static constexpr int IdFrame = 101;   // the "System Information" frame
    static constexpr int LabelId(int index) { return 200 + index; }
    static constexpr int PictureWidth = 104, PictureHeight = 217;
    static constexpr UINT_PTR TimerId = 1;
    static constexpr UINT TimerInterval = 1000;
    // Label 11 until the first tick.
    static constexpr wchar_t AvailablePending[] = L"Reading...";
    static constexpr int EmailLabel = 5, WebLabel = 6;
    static constexpr COLORREF LinkHover = RGB(0, 0, 255), LinkPressed = RGB(255, 0, 0),
                              LinkReleased = RGB(0, 0, 0);

    explicit frmAbout(MemoryReader memory = ReadMemoryStatus);
    // Modal over owner, centred over it; returns when the window has closed.
    void Show(HWND owner, SystemPort& system);

    // What a link label shows now: its text colour and whether it is underlined.
    COLORREF LinkColour(int label) const { return links_[Slot(label)].colour; }
    bool LinkUnderlined(int label) const { return links_[Slot(label)].underlined; }

private:
    struct LinkLook {
        COLORREF colour = 0;
        bool underlined = false;
    };
    static size_t Slot(int label) { return label == WebLabel ? 1 : 0; }

    void Form_Load();
    void Timer_Timer();
    void cmdClose_Click();
    void Form_MouseMove();
    void Link_MouseMove(int label);
    void Link_MouseDown(int label);
    void Link_MouseUp(int label, bool leftClick);
    void SetLink(int label, COLORREF colour, bool underlined);
    static LRESULT CALLBACK LinkProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self);

    MemoryReader memory_;
    SystemPort* system_ = nullptr;
    std::array<LinkLook, 2> links_{};
    UniqueHFont titleFont_;
    UniqueHFont underlinedFont_;
};
