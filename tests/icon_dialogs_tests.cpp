// The icon picker and the rename dialog as a user drives them, and the main window's icon commands.
#include "controls/surface_image.h"
#include "prompts/messages.h"
#include "support/dialog_script.h"
#include "support/scripted_icon_ports.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "ui/change_icon_dialog.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"
#include "ui/rename_dialog.h"

#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

std::wstring SystemShell32() {
    wchar_t folder[MAX_PATH]{};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\shell32.dll";
}

// Whether drawing on a magenta 32-pixel cell marks it, and the colour it leaves in the middle.
std::pair<bool, COLORREF> Drawn(const std::function<void(HDC)>& draw) {
    SurfaceImage cell;
    cell.Resize(32, 32, RGB(255, 0, 255), false);
    draw(cell.dc());
    bool marked = false;
    for (int at = 0; at < 32 * 32; ++at) marked |= cell.Pixel(at % 32, at / 32) != RGB(255, 0, 255);
    return {marked, cell.Pixel(16, 16)};
}

// The picker over a visible owner. The steps run inside the dialog's own loop; a dialog they leave open is
// confirmed with OK if it can be, otherwise cancelled, so a missed close shows as a wrong result.
struct Picker {
    OwnerWindow owner;
    ScriptedFileDialogPort browse;
    frmChangeIcon dialog{browse};
    Strings messages; // title|text|style

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
    void Mouse(UINT message, int x, int y) {
        SendMessageW(dialog.lstMain(), message, MK_LBUTTON, MAKELPARAM(x, y));
    }
};

} // namespace

TEST_CASE("every icon of a file is read at once, and each cell shows what the platform's icon shows") {
    TempMachine m;
    const std::wstring red = m.Write(m.root, L"red.ico", ColourIconBytes({{RGB(255, 0, 0)}}));
    for (const std::wstring& file : {m.Copy(L"five_icons.dll", m.root), SystemShell32(), red}) {
        CAPTURE(file);
        FileIcons icons;
        REQUIRE(icons.Load(file) == FileIconCount(file));
        for (int i = 0; i < icons.Count(); ++i) {
            UniqueHIcon icon(ExtractIconW(GetModuleHandleW(nullptr), file.c_str(), static_cast<UINT>(i)));
            CHECK(Drawn([&](HDC dc) { icons.Draw(dc, i, 0, 0); }).first ==
                  Drawn([&](HDC dc) {
                      DrawIconEx(dc, 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL);
                  }).first);
        }
    }
    FileIcons one;
    one.Load(red);
    CHECK(Drawn([&](HDC dc) { one.Draw(dc, 0, 0, 0); }).second == RGB(255, 0, 0));
}

TEST_CASE(
    "the picker on the system's shell32.dll opens on icon 19 and scrolls without reading the file again") {
    Picker p;
    const std::wstring file = SystemShell32();
    CHECK(p.Run(file, 19, [&](HWND d) {
        const IconGrid& grid = p.dialog.grid();
        CHECK((grid.Count() > 32 && grid.SelectedIndex() == 19 && grid.ScrollValue() == 0));
        CHECK((p.OkEnabled(d) && GetFocus() == p.dialog.lstMain()));
        CHECK(TextOf(d) == L"Change Icon");
        HWND scroll = GetDlgItem(d, frmChangeIcon::IdScroll);
        for (WORD request : {SB_PAGERIGHT, SB_LINERIGHT, SB_RIGHT, SB_LINELEFT}) {
            SendMessageW(d, WM_HSCROLL, request, reinterpret_cast<LPARAM>(scroll));
            UpdateWindow(p.dialog.lstMain());
        }
        CHECK(grid.ScrollValue() == grid.ScrollMax() - IconGrid::Cell);
        CHECK(GetScrollPos(scroll, SB_CTL) == grid.ScrollValue());
        CHECK(p.dialog.FileReads() == 1);
    }));
    CHECK((p.dialog.ChosenFile == file && p.dialog.ChosenIndex == 19));
    CHECK(p.messages.empty());
}

TEST_CASE("picker selections: one icon, the empty cell, drag and double click, a folder outside the ANSI "
          "code page") {
    TempMachine m;
    const std::wstring five = m.Copy(L"five_icons.dll", m.root);
    const std::tuple<std::wstring, std::int16_t, std::function<void(Picker&, HWND)>, std::int16_t> cases[] = {
        {m.Copy(L"one_icon.dll", m.root), 5,
         [](Picker&, HWND d) { CHECK(GetFocus() == GetDlgItem(d, IDOK)); }, 0},
        {five, 4,
         [](Picker& p, HWND) {
             p.Mouse(WM_LBUTTONDOWN, 40, 40);
             CHECK_FALSE(p.dialog.grid().Highlighted());
         },
         4},
        {five, 0,
         [](Picker& p, HWND) {
             p.Mouse(WM_MOUSEMOVE, 40, 2);
             p.Mouse(WM_LBUTTONDBLCLK, 40, 2);
         },
         4},
        {five, 3, [](Picker& p, HWND) { SendMessageW(p.dialog.lstMain(), WM_KEYDOWN, VK_DOWN, 0); }, 4},
        {m.Copy(L"five_icons.dll", m.MakeFolder(L"\u0395\u03b9\u03ba\u03cc\u03bd\u03b5\u03c2")), 2,
         [](Picker&, HWND) {}, 2},
    };
    for (const auto& [file, index, steps, chosen] : cases) {
        CAPTURE(index);
        Picker p;
        CHECK(p.Run(file, index, [&](HWND d) { steps(p, d); }));
        CHECK((p.dialog.ChosenIndex == chosen && p.dialog.ChosenFile == file));
        CHECK(p.messages.empty());
    }
}

TEST_CASE("the picker's file messages leave OK disabled; Browse and Enter show another file; three ways to "
          "cancel") {
    TempMachine m;
    const std::wstring five = m.Copy(L"five_icons.dll", m.root), none = m.Copy(L"no_icons.dll", m.root);
    const std::wstring missing = m.root + L"\\gone.dll";
    Picker p;
    p.browse.answers = {five};
    CHECK_FALSE(p.Run(none, 0, [&](HWND d) {
        CHECK_FALSE(p.OkEnabled(d));
        HWND box = GetDlgItem(d, frmChangeIcon::IdFilename);
        // Typed into the box, whose text is selected when it takes the focus, and entered.
        SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        // Each key goes through the dialog's loop before the next, as a user's typing does.
        auto key = [d](HWND to, UINT message, WPARAM code) {
            PostMessageW(to, message, code, 0);
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                if (!IsDialogMessageW(d, &msg)) DispatchMessageW(&msg);
        };
        for (wchar_t c : missing) key(box, WM_CHAR, c);
        key(box, WM_KEYDOWN, VK_RETURN);
        CHECK_FALSE((p.OkEnabled(d) || IsWindowEnabled(p.dialog.lstMain())));
        SendMessageW(d, WM_COMMAND, frmChangeIcon::IdBrowse, 0);
        CHECK((TextOf(box) == five && p.dialog.grid().Count() == 5 && !p.OkEnabled(d)));
    }));
    CHECK(p.messages == Strings{L"Change Icon|No Icons found in \"" + none + L"\"|48",
                                L"Tessaly|File not found \"" + missing + L"\"|0"});
    CHECK(p.browse.calls == Strings{L"OPEN Change Icon|Icon Files|*.exe;*.dll;*.icl;*.ico|"
                                    L"Programs|*.exe|Libraries|*.dll|Icons|*.ico|All Files|*.*|"});

    const std::function<void(HWND)> cancels[] = {
        [](HWND d) { PostMessageW(GetFocus() ? GetFocus() : d, WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND d) { SendMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); },
        [](HWND d) { SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& cancel : cancels) CHECK_FALSE(Picker().Run(five, 2, cancel));
}

TEST_CASE("the rename dialog: the bin's shared name, the empty name undone, the tooltip and its Restore") {
    SessionFixture f;
    OwnerWindow owner;
    RawSetString(HKEY_CLASSES_ROOT, L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"InfoTip", L"Drives");
    Session& s = f.Load({.nt = true});
    IconListModel& desktop = s.Lists[IconCategory::Desktop];
    // Runs the dialog on an item; returns label|name|tooltip as it opened, and whether something was staged.
    auto run = [&](const wchar_t* key, const std::function<void(HWND)>& steps) {
        desktop.SelItemKey(key);
        frmRename dialog(s, f.prompts);
        std::wstring shown;
        dialog.OnShown = [&](frmRename& d) {
            for (int id : {frmRename::IdLabel, frmRename::IdTextbox, frmRename::IdTooltip})
                shown += TextOf(GetDlgItem(d.hwnd(), id)) + L"|";
            steps(d.hwnd());
            PostMessageW(d.hwnd(), WM_COMMAND, IDCANCEL, 0);
        };
        return shown + (dialog.Show(owner.get()) ? L"staged" : L"");
    };
    auto type = [](HWND d, int id, const wchar_t* text) { SetWindowTextW(GetDlgItem(d, id), text); };
    auto ok = [](HWND d) { SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); };

    CHECK(run(L"Recycle Bin (full)", [&](HWND d) {
              CHECK(TextOf(d) == L"Rename Icon");
              type(d, frmRename::IdTextbox, L"Bin");
              ok(d);
          }) == L"Type a new name for Recycle Bin (full)|Recycle Bin||staged");
    CHECK(desktop.ItemCaption(L"Recycle Bin (full)") ==
          L"Bin (full)"); // the bin's rules: icon_commands_tests

    s.MarkApplied();
    CHECK(run(L"My Computer", [&](HWND d) {
              HWND box = GetDlgItem(d, frmRename::IdTextbox);
              SendMessageW(box, EM_SETSEL, 0, -1);
              SendMessageW(box, WM_CLEAR, 0, 0);
              ok(d);
              CHECK((TextOf(box) == L"My Computer" && GetFocus() == box));
          }) == L"Type a new name for My Computer|My Computer|Drives|");
    CHECK(f.prompts.shown.at(0).message == MessageOf(Messages::ShowEmptyIconName));
    CHECK_FALSE(s.HasUnappliedChanges());

    CHECK(run(L"My Computer", [&](HWND d) {
              CHECK(TextOf(GetDlgItem(d, frmRename::IdNote)) ==
                    L"You can also change the tooltip for this icon.");
              type(d, frmRename::IdTooltip, L"Elsewhere");
              SendMessageW(GetDlgItem(d, frmRename::IdRestore), BM_CLICK, 0, 0);
              CHECK(TextOf(GetDlgItem(d, frmRename::IdTooltip)) == L"Drives");
              type(d, frmRename::IdTooltip, L"All drives");
              ok(d);
          }).ends_with(L"staged"));
    CHECK((desktop.Find(L"My Computer")->Tooltip == L"All drives" && s.HasUnappliedChanges()));
}

TEST_CASE("the main window's icon commands: new pointers show at once, Default, restores and Rename") {
    SessionFixture f;
    ScriptedIconChooser chooser;
    ScriptedFileDialogPort files;
    f.Load({.nt = true});
    MainWindow main(*f.session, f.system, f.prompts);
    REQUIRE(main.Create());
    main.UseIconPorts(chooser, files);
    auto command = [&](int id) { SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); };

    main.SelectTab(TabIndex(IconCategory::Pointers));
    const std::pair<std::wstring, COLORREF> pointers[] = {
        {f.machine.Write(f.machine.app, L"red.cur",
                         ColourIconBytes({{RGB(255, 0, 0)}}, IconFileKind::Cursor)),
         RGB(255, 0, 0)},
        {f.machine.Write(f.machine.app, L"green.ani", ColourAnimatedCursorBytes(RGB(0, 255, 0))),
         RGB(0, 255, 0)},
    };
    for (const auto& [path, colour] : pointers) {
        files.answers = {path};
        command(IdCmdChange);
        CHECK(TextOf(main.InfoBar()) == path + L",0");
        CHECK(main.List(IconCategory::Pointers)
                  .SurfacePixel(ListBoxIcons::IconLeft + 16, ListBoxIcons::IconTop + 16) == colour);
    }
    command(IdCmdDefault);
    CHECK(TextOf(main.InfoBar()) == L"Windows Default Cursor");

    main.SelectTab(TabIndex(IconCategory::Start));
    chooser.answer = ChosenIcon{f.machine.system + L"\\three.dll", 1};
    command(IdCmdChange);
    CHECK(TextOf(main.InfoBar()) == f.machine.system + L"\\three.dll,1");
    SetWindowTextW(main.hwnd(), L"Tessaly - Sun");
    f.prompts.Answer(1);
    command(IdMenuRestoreIcons);
    CHECK(TextOf(main.InfoBar()) == f.machine.system + L"\\shell32.dll,19");
    CHECK(TextOf(main.hwnd()) == L"Tessaly");

    main.SelectTab(TabIndex(IconCategory::Desktop));
    DialogScript script({[](HWND d) { CHECK(TextOf(d) == L"Rename Icon"); }, Click(L"Cancel")});
    command(IdCmdRename);
    CHECK(script.Completed());
}
