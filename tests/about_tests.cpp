// The splash and About windows: texts, placement, the version line, the memory figures and the links.
#include "support/dialog_script.h"
#include "support/scripted_ports.h"
#include "support/wide_text.h"
#include "ui/about.h"
#include "ui/splash.h"

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

TEST_CASE("the version line and the memory figures") {
    // This program's own version, read from its resource, is the About window's.
    const std::pair<ProgramVersion, const wchar_t*> versions[] = {{{1, 0, 7, 0}, L"Version 1.00.00 a"},
                                                                  {{3, 12, 0, 5}, L"Version 3.012.05 a"}};
    for (const auto& [version, line] : versions) CHECK(VersionLine(version) == line);
    CHECK_FALSE(ReadProgramVersion(L"C:\\no such folder\\none.exe"));

    const std::uint64_t KB = 1024, GB = KB * KB * KB;
    // clang-format off
    const std::tuple<std::uint64_t, const wchar_t*, const wchar_t*> figures[] = {
        {16 * KB * KB, L",", L"16,384 Kb"}, {0, L",", L"0 Kb"}, {511, L",", L"0 Kb"}, {512, L",", L"1 Kb"},
        {999 * KB, L",", L"999 Kb"}, {1000 * KB, L"", L"1000 Kb"}, {8 * GB, L".", L"8.388.608 Kb"},
        {64 * GB + 700, L"\u00a0", L"67\u00a0108\u00a0865 Kb"}};
    // clang-format on
    for (const auto& [bytes, separator, text] : figures) {
        CAPTURE(bytes);
        CHECK(FormatKilobytes(bytes, separator) == text);
    }
    CHECK(ReadMemoryStatus().has_value());
}

TEST_CASE("the splash window shows its texts centred over its owner") {
    OwnerWindow owner; // 640 x 480 at (120, 90)
    frmSplash splash;
    REQUIRE(splash.Show(owner.get()));
    CHECK(TextOf(splash.hwnd()) == L"Tessaly");
    CHECK(IsWindowVisible(splash.hwnd()));
    CHECK(GetWindow(splash.hwnd(), GW_OWNER) == owner.get());
    const std::pair<int, const wchar_t*> labels[] = {{frmSplash::IdName, L"Tessaly"},
                                                     {frmSplash::IdVersion, L"Version 2.02"},
                                                     {frmSplash::IdPlatforms, L"for Windows 95/NT"}};
    for (const auto& [id, text] : labels) CHECK(TextOf(GetDlgItem(splash.hwnd(), id)) == text);
    RECT r;
    GetWindowRect(splash.hwnd(), &r);
    CHECK(r.left == 120 + (640 - frmSplash::Width) / 2);
    CHECK(r.top == 90 + (480 - frmSplash::Height) / 2);
    splash.Close();
    CHECK_FALSE(splash.hwnd());
}

namespace {
// What a label looks like as drawn: the colour the dialog gives its text, and whether its font is underlined.
std::pair<COLORREF, bool> Look(HWND dialog, int label) {
    HWND control = GetDlgItem(dialog, frmAbout::LabelId(label));
    UniqueMemDc dc(CreateCompatibleDC(nullptr));
    SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                 reinterpret_cast<LPARAM>(control));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return {GetTextColor(dc.get()), font.lfUnderline != 0};
}
void Mouse(HWND dialog, int label, UINT message) {
    HWND target = label < 0 ? dialog : GetDlgItem(dialog, frmAbout::LabelId(label));
    SendMessageW(target, message, 0, MAKELPARAM(3, 3));
}
} // namespace

TEST_CASE("About: labels, memory, links and Esc") {
    const std::uint64_t MB = 1024 * 1024;
    frmAbout about([MB] { return MemoryFigures{16 * MB, 8 * MB}; });
    RecordingSystemPort system;
    OwnerWindow owner;
    const std::wstring sep = UserThousandsSeparator();
    const COLORREF text = GetSysColor(COLOR_BTNTEXT), blue = RGB(0, 0, 255), red = RGB(255, 0, 0), black = 0;

    std::vector<DialogScript::Step> steps;
    steps.push_back([&](HWND dialog) {
        CHECK(TextOf(dialog) == L"About Tessaly");
        // clang-format off
        const std::pair<int, std::wstring> labels[] = {
            {0, L"Tessaly 2.02"}, {1, L"Version 2.02.0236 a"}, {4, L"Internet:"},
            {5, L"tessaly@korvath.example"}, {6, L"https://www.korvath.example/tessaly"}, {8, L"Total Memory"},
            {9, L"16" + sep + L"384 Kb"}, {10, L"Available Memory"}, {11, frmAbout::AvailablePending}};
        // clang-format on
        for (const auto& [index, expected] : labels) {
            CAPTURE(index);
            CHECK(TextOf(GetDlgItem(dialog, frmAbout::LabelId(index))) == expected);
        }
        RECT picture = ClientRectOf(dialog, frmAbout::IdPicture), r, o;
        CHECK(picture.right - picture.left == 104);
        CHECK(picture.bottom - picture.top == 217);
        GetWindowRect(dialog, &r);
        GetWindowRect(owner.get(), &o);
        CHECK(std::abs((r.left + r.right) - (o.left + o.right)) <= 1);
        CHECK(std::abs((r.top + r.bottom) - (o.top + o.bottom)) <= 1);
    });
    // Pointer moves and presses on the links, and how each link looks after each.
    struct Move {
        int label; // -1: the window itself
        UINT message;
        std::pair<COLORREF, bool> email, web;
    };
    const Move moves[] = {
        {5, WM_MOUSEMOVE, {blue, true}, {text, false}},   {6, WM_MOUSEMOVE, {text, false}, {blue, true}},
        {-1, WM_MOUSEMOVE, {text, false}, {text, false}}, {6, WM_MOUSEMOVE, {text, false}, {blue, true}},
        {6, WM_LBUTTONDOWN, {text, false}, {red, true}},  {6, WM_LBUTTONUP, {text, false}, {black, true}},
        {5, WM_MOUSEMOVE, {blue, true}, {text, false}},   {5, WM_LBUTTONDOWN, {red, true}, {text, false}},
        {5, WM_LBUTTONUP, {black, true}, {text, false}},  {5, WM_RBUTTONDOWN, {red, true}, {text, false}},
        {5, WM_RBUTTONUP, {black, true}, {text, false}}};
    steps.push_back([&](HWND dialog) {
        int n = 0;
        for (const Move& move : moves) {
            CAPTURE(n++);
            Mouse(dialog, move.label, move.message);
            CHECK(Look(dialog, 5) == move.email);
            CHECK(Look(dialog, 6) == move.web);
        }
        // Left clicks open the page and a new message; the right button opens nothing.
        CHECK(system.calls ==
              Strings{L"OPEN https://www.korvath.example/tessaly", L"OPEN mailto:tessaly@korvath.example"});
    });
    for (int i = 0; i < 50; ++i) steps.push_back([](HWND) {}); // two seconds: the timer ticks
    steps.push_back([&](HWND dialog) {
        CHECK(TextOf(GetDlgItem(dialog, frmAbout::LabelId(11))) == L"8" + sep + L"192 Kb");
    });
    steps.push_back(Key(VK_ESCAPE));
    DialogScript script(steps);
    about.Show(owner.get(), system);
    CHECK(script.Completed());
}
