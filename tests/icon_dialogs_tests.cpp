// The icon picker and the rename dialog as a user drives them, and the main window's icon commands.
#include "platform/gdi_guards.h"
#include "support/dialog_script.h"
#include "support/scripted_icon_ports.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "ui/change_icon_dialog.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"
#include "ui/rename_dialog.h"

#include <doctest/doctest.h>

#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace std::literals;

namespace {

std::wstring SystemShell32() {
    wchar_t folder[MAX_PATH]{};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\shell32.dll";
}

// What the dialog's loop does with pending messages, so a step sees the effect of a posted key.
void PumpDialog(HWND d) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(d, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A 32-pixel magenta cell to draw one icon on.
struct Cell {
    Cell() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        old = SelectObject(dc.get(), bitmap.get());
        RECT all{0, 0, 32, 32};
        FillRect(dc.get(), &all, magenta.get());
    }
    ~Cell() { SelectObject(dc.get(), old); }
    // Whether the drawing left a mark on a sparse grid of pixels.
    bool Marked() const {
        for (int y = 1; y < 32; y += 2)
            for (int x = 1; x < 32; x += 2)
                if (GetPixel(dc.get(), x, y) != RGB(255, 0, 255)) return true;
        return false;
    }
    UniqueMemDc dc{CreateCompatibleDC(nullptr)};
    UniqueHBitmap bitmap;
    UniqueHBrush magenta{CreateSolidBrush(RGB(255, 0, 255))};
    HGDIOBJ old = nullptr;
};

// Cells where the strips and the platform's own icon for the same index disagree about being blank.
int CellsUnlikeThePlatform(const std::wstring& file, const FileIcons& icons) {
    int unlike = 0;
    for (int i = 0; i < icons.Count(); ++i) {
        Cell ours, platform;
        icons.Draw(ours.dc.get(), i, 0, 0);
        UniqueHIcon icon(ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(i)));
        DrawIconEx(platform.dc.get(), 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL);
        unlike += ours.Marked() != platform.Marked();
    }
    return unlike;
}

// The picker over a visible owner. Each run's steps happen inside the dialog's own loop; a dialog the steps
// leave open is confirmed with OK if it can be, otherwise cancelled, so a missed close shows as a wrong
// result.
struct Picker {
    OwnerWindow owner;
    ScriptedFileDialog browse;
    frmChangeIcon dialog{browse};
    std::vector<std::wstring> messages; // title|text|style

    Picker() {
        dialog.ShowMessage = [this](const std::wstring& text, const std::wstring& title, UINT style) {
            messages.push_back(title + L"|" + text + L"|" + std::to_wstring(style));
        };
    }
    bool Run(const std::wstring& file, std::int16_t index, std::function<void(HWND)> steps) {
        dialog.OnShown = [steps](frmChangeIcon& d) {
            steps(d.hwnd());
            PostMessageW(d.hwnd(), WM_COMMAND, IDOK, 0);
            PostMessageW(d.hwnd(), WM_COMMAND, IDCANCEL, 0);
        };
        return dialog.ChooseIcon(owner.get(), file, index);
    }
    bool OkEnabled(HWND d) const { return IsWindowEnabled(GetDlgItem(d, IDOK)); }
    void Press(int x, int y, UINT message = WM_LBUTTONDOWN) {
        SendMessageW(dialog.lstMain(), message, MK_LBUTTON, MAKELPARAM(x, y));
    }
};

} // namespace

TEST_CASE(
    "the picker on the system's shell32.dll opens on icon 19 and scrolls without reading the file again") {
    Picker p;
    const std::wstring file = SystemShell32();
    const bool confirmed = p.Run(file, 19, [&](HWND d) {
        CHECK(p.dialog.grid().Count() > 32);
        CHECK(p.dialog.grid().SelectedIndex() == 19);
        CHECK(p.dialog.grid().SelectionLeft() == 152);
        CHECK(p.dialog.grid().SelectionTop() == 114);
        CHECK(p.dialog.grid().ScrollValue() == 0); // column 4 is in view already
        CHECK(p.OkEnabled(d));
        CHECK(GetFocus() == p.dialog.lstMain());
        CHECK(TextOf(d) == L"Change Icon");
        HWND scroll = GetDlgItem(d, frmChangeIcon::IdScroll);
        CHECK(IsWindowEnabled(scroll));
        for (WORD request : {SB_PAGERIGHT, SB_LINERIGHT, SB_RIGHT, SB_LINELEFT}) {
            SendMessageW(d, WM_HSCROLL, request, reinterpret_cast<LPARAM>(scroll));
            UpdateWindow(p.dialog.lstMain());
        }
        CHECK(p.dialog.grid().ScrollValue() == p.dialog.grid().ScrollMax() - IconGrid::Cell);
        CHECK(GetScrollPos(scroll, SB_CTL) == p.dialog.grid().ScrollValue());
        CHECK(p.dialog.FileReads() == 1);
    });
    CHECK(confirmed);
    CHECK(p.dialog.ChosenFile == file);
    CHECK(p.dialog.ChosenIndex == 19);
    CHECK(p.messages.empty());
}

TEST_CASE(
    "picker selections: one icon, the empty cell, keys, double click, a path outside the ANSI code page") {
    TempMachine m;
    const std::wstring five = m.Copy(L"five_icons.dll", m.root);
    struct Case {
        const char* name;
        std::wstring file;
        std::int16_t index;
        std::function<void(Picker&, HWND)> steps;
        std::int16_t chosen;
    };
    const std::wstring greek = m.MakeFolder(L"\u0395\u03b9\u03ba\u03cc\u03bd\u03b5\u03c2");
    const Case cases[] = {
        {"one icon: selected, OK has the focus", m.Copy(L"one_icon.dll", m.root), 5,
         [](Picker& p, HWND d) {
             CHECK(GetFocus() == GetDlgItem(d, IDOK));
             CHECK(p.dialog.grid().Highlighted());
         },
         0},
        {"the empty cell below icon 4 keeps OK, which gives icon 4", five, 4,
         [](Picker& p, HWND d) {
             p.Press(40, 40);
             CHECK_FALSE(p.dialog.grid().Highlighted());
             CHECK(p.OkEnabled(d));
         },
         4},
        {"Down from icon 3 wraps to icon 4, Up comes back", five, 3,
         [](Picker& p, HWND) {
             SendMessageW(p.dialog.lstMain(), WM_KEYDOWN, VK_DOWN, 0);
             CHECK(p.dialog.grid().SelectedIndex() == 4);
             SendMessageW(p.dialog.lstMain(), WM_KEYDOWN, VK_UP, 0);
         },
         3},
        {"a drag moves the selection, a double click confirms it", five, 0,
         [](Picker& p, HWND) {
             p.Press(40, 2, WM_MOUSEMOVE);
             p.Press(40, 2, WM_LBUTTONDBLCLK);
         },
         4},
        {"a folder named in Greek", m.Copy(L"five_icons.dll", greek), 2,
         [](Picker& p, HWND) { CHECK(p.dialog.grid().Count() == 5); }, 2},
    };
    // Every icon is read, whether decoded from a library or extracted by the platform (an icon file).
    const std::wstring red = m.Write(m.root, L"red.ico", ColourIconBytes({{RGB(255, 0, 0)}}));
    for (const std::wstring& file : {five, SystemShell32(), red}) {
        CAPTURE(file);
        FileIcons icons;
        REQUIRE(icons.Load(file) == CountIcons(file));
        CHECK(CellsUnlikeThePlatform(file, icons) == 0);
    }
    FileIcons redIcon;
    redIcon.Load(red);
    Cell cell;
    redIcon.Draw(cell.dc.get(), 0, 0, 0);
    CHECK(GetPixel(cell.dc.get(), 16, 16) == RGB(255, 0, 0));
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Picker p;
        CHECK(p.Run(c.file, c.index, [&](HWND d) { c.steps(p, d); }));
        CHECK(p.dialog.ChosenIndex == c.chosen);
        CHECK(p.dialog.ChosenFile == c.file);
        CHECK(p.messages.empty());
    }
}

TEST_CASE("the picker's file messages leave OK disabled; Browse and Enter show another file") {
    TempMachine m;
    const std::wstring five = m.Copy(L"five_icons.dll", m.root);
    const std::wstring none = m.Copy(L"no_icons.dll", m.root);
    const std::wstring missing = m.root + L"\\gone.dll";
    SUBCASE("a file without icons") {
        Picker p;
        CHECK_FALSE(p.Run(none, 0, [&](HWND d) { CHECK_FALSE(p.OkEnabled(d)); }));
        CHECK(p.messages == std::vector<std::wstring>{L"Change Icon|No Icons found in \"" + none + L"\"|48"});
    }
    SUBCASE("a missing path typed and entered") {
        Picker p;
        CHECK_FALSE(p.Run(five, 1, [&](HWND d) {
            HWND box = GetDlgItem(d, frmChangeIcon::IdFilename);
            SetWindowTextW(box, missing.c_str());
            SetFocus(box);
            PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
            PumpDialog(d);
            CHECK_FALSE(p.OkEnabled(d));
            CHECK_FALSE(IsWindowEnabled(p.dialog.lstMain()));
        }));
        CHECK(p.messages == std::vector<std::wstring>{L"Tessaly|File not found \"" + missing + L"\"|0"});
    }
    SUBCASE("Browse") {
        Picker p;
        p.browse.answer = five;
        CHECK_FALSE(p.Run(m.Copy(L"one_icon.dll", m.root), 0, [&](HWND d) {
            CHECK(p.OkEnabled(d));
            SendMessageW(d, WM_COMMAND, frmChangeIcon::IdBrowse, 0);
            CHECK(TextOf(GetDlgItem(d, frmChangeIcon::IdFilename)) == five);
            CHECK(p.dialog.grid().Count() == 5);
            CHECK_FALSE(p.OkEnabled(d));
        }));
        CHECK(p.browse.title == L"Change Icon");
        CHECK(
            p.browse.filter ==
            L"Icon Files\0*.exe;*.dll;*.icl;*.ico\0Programs\0*.exe\0Libraries\0*.dll\0Icons\0*.ico\0All Files\0*.*\0"sv);
    }
}

TEST_CASE("Esc, Cancel and the close box all cancel the picker") {
    TempMachine m;
    const std::wstring five = m.Copy(L"five_icons.dll", m.root);
    const std::function<void(HWND)> ways[] = {
        [](HWND d) { PostMessageW(GetFocus() ? GetFocus() : d, WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND d) { SendMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); },
        [](HWND d) { SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& way : ways) {
        Picker p;
        CHECK_FALSE(p.Run(five, 2, way));
    }
}

namespace {

struct Renaming : SessionFixture {
    std::wstring Run(IconCategory category, const wchar_t* key, std::function<void(HWND)> steps,
                     bool* staged = nullptr) {
        Session& s = *session;
        s.SelectedTab = TabIndex(category);
        s.Lists[category].SelItemKey(key);
        frmRename dialog(s, prompts);
        std::wstring shown;
        dialog.OnShown = [&](frmRename& d) {
            shown = TextOf(GetDlgItem(d.hwnd(), frmRename::IdLabel)) + L"|" +
                    TextOf(GetDlgItem(d.hwnd(), frmRename::IdTextbox)) + L"|" +
                    TextOf(GetDlgItem(d.hwnd(), frmRename::IdTooltip));
            steps(d.hwnd());
            PostMessageW(d.hwnd(), WM_COMMAND, IDCANCEL, 0);
        };
        const bool result = dialog.Show(owner.get());
        if (staged) *staged = result;
        return shown;
    }
    void Type(HWND d, int id, const wchar_t* text) { SetWindowTextW(GetDlgItem(d, id), text); }
    OwnerWindow owner;
};

} // namespace

TEST_CASE("the rename dialog: the bin's shared name, the empty name undone, the tooltip and its Restore") {
    Renaming f;
    RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"InfoTip", L"Drives");
    Session& s = f.Load({.nt = true});
    IconListModel& desktop = s.Lists[IconCategory::Desktop];
    bool staged = false;

    CHECK(f.Run(
              IconCategory::Desktop, L"Recycle Bin (full)",
              [&](HWND d) {
                  CHECK(TextOf(d) == L"Rename Icon");
                  f.Type(d, frmRename::IdTextbox, L"Bin");
                  SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
              },
              &staged) == L"Type a new name for Recycle Bin (full)|Recycle Bin|");
    CHECK(staged);
    CHECK(desktop.ItemCaption(L"Recycle Bin (empty)") == L"Bin (empty)");
    CHECK(desktop.ItemCaption(L"Recycle Bin (full)") == L"Bin (full)");

    s.MarkApplied();
    f.Run(
        IconCategory::Desktop, L"My Computer",
        [&](HWND d) {
            HWND box = GetDlgItem(d, frmRename::IdTextbox);
            SendMessageW(box, EM_SETSEL, 0, -1);
            SendMessageW(box, WM_CLEAR, 0, 0);
            SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
            CHECK(TextOf(box) == L"My Computer");
            CHECK(GetFocus() == box);
        },
        &staged);
    CHECK_FALSE(staged);
    REQUIRE(f.prompts.shown.size() == 1);
    CHECK(f.prompts.shown[0].message == L"You must provide a name for your system icon.");
    CHECK_FALSE(s.HasUnappliedChanges());

    CHECK(f.Run(
              IconCategory::Desktop, L"My Computer",
              [&](HWND d) {
                  CHECK(TextOf(GetDlgItem(d, frmRename::IdNote)) ==
                        L"You can also change the tooltip for this icon.");
                  f.Type(d, frmRename::IdTooltip, L"Elsewhere");
                  SendMessageW(GetDlgItem(d, frmRename::IdRestore), BM_CLICK, 0, 0);
                  CHECK(TextOf(GetDlgItem(d, frmRename::IdTooltip)) == L"Drives");
                  f.Type(d, frmRename::IdTooltip, L"All drives");
                  SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
              },
              &staged) == L"Type a new name for My Computer|My Computer|Drives");
    CHECK(staged);
    CHECK(desktop.Find(L"My Computer")->Tooltip == L"All drives");
    CHECK(s.HasUnappliedChanges());
}

namespace {

struct MainFixture : SessionFixture {
    ScriptedIconChooser chooser;
    ScriptedFileDialog files;
    std::unique_ptr<MainWindow> main;

    MainFixture() {
        Load({.nt = true});
        main = std::make_unique<MainWindow>(*session, system, prompts);
        REQUIRE(main->Create());
        ShowWindow(main->hwnd(), SW_SHOWNOACTIVATE);
        main->UseIconPorts(chooser, files);
    }
    void Command(int id) { SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::wstring InfoBar() const { return TextOf(main->InfoBar()); }
};

} // namespace

TEST_CASE("the main window's icon commands: new pointers show at once, Default, restores and Rename") {
    MainFixture f;
    SUBCASE("a .cur and an .ani pointer are drawn in the list as soon as they are picked") {
        f.main->SelectTab(TabIndex(IconCategory::Pointers));
        const std::pair<std::wstring, COLORREF> pointers[] = {
            {f.machine.Write(f.machine.app, L"red.cur",
                             ColourIconBytes({{RGB(255, 0, 0)}}, IconFileKind::Cursor)),
             RGB(255, 0, 0)},
            {f.machine.Write(f.machine.app, L"green.ani", ColourAnimatedCursorBytes(RGB(0, 255, 0))),
             RGB(0, 255, 0)},
        };
        for (const auto& [path, colour] : pointers) {
            f.files.answer = path;
            f.Command(IdCmdChange);
            CHECK(f.InfoBar() == path + L",0");
            CHECK(f.main->List(IconCategory::Pointers)
                      .SurfacePixel(ListBoxIcons::IconLeft + 16, ListBoxIcons::IconTop + 16) == colour);
        }
        CHECK(IsWindowEnabled(f.main->cmdApply()));
        f.Command(IdCmdDefault);
        CHECK(f.InfoBar() == L"Windows Default Cursor");
    }
    SUBCASE("Change on an icon tab, then Restore all Icons clears the caption") {
        f.main->SelectTab(TabIndex(IconCategory::Start));
        const std::wstring three = f.machine.Copy(L"three_icons.dll", f.machine.app);
        f.chooser.answer = ChosenIcon{three, 1};
        f.Command(IdCmdChange);
        CHECK(f.InfoBar() == three + L",1");
        SetWindowTextW(f.main->hwnd(), L"Tessaly - Sun");
        f.prompts.Answer(1);
        f.Command(IdMenuRestoreIcons);
        CHECK(f.InfoBar() == f.machine.system + L"\\shell32.dll,19");
        CHECK(TextOf(f.main->hwnd()) == L"Tessaly");
    }
    SUBCASE("Re&name... opens the rename dialog over the window") {
        DialogScript script({[](HWND d) { CHECK(TextOf(d) == L"Rename Icon"); }, Click(L"Cancel")});
        f.Command(IdCmdRename);
        CHECK(script.Completed());
    }
}
