// Change, Default, the restores, Rename and tooltips on a session through scripted ports, and the picker's
// grid rules without a window; then the icon picker and the rename dialog as a user drives them, and the main
// window's icon commands.
#include "apply/apply.h"
#include "controls/surface_image.h"
#include "icons/change.h"
#include "icons/icon_grid.h"
#include "icons/icon_location.h"
#include "icons/rename.h"
#include "icons/restore.h"
#include "platform/file_icon.h"
#include "platform/unique_handle.h"
#include "prompts/messages.h"
#include "support/dialog_script.h"
#include "support/registry_dump.h"
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

using namespace std::literals;

namespace {

struct Commands : SessionFixture {
    ScriptedIconChooser chooser;
    ScriptedFileDialogPort files;
    RecordingIconView view;

    Session& Start(IconCategory tab, const MachineKind& kind = {.nt = true}) {
        Load(kind).SelectedTab = TabIndex(tab);
        return *session;
    }
    IconListModel& List(IconCategory category) { return session->Lists[category]; }
    void Change() { cmdChange_Click(*session, chooser, files, view); }
};

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

TEST_CASE("Change on an icon tab stages the picked icon unless it is the one the item has") {
    Commands f;
    const std::wstring shell32 = f.machine.system + L"\\shell32.dll";
    const std::pair<std::optional<ChosenIcon>, bool> cases[] = {
        {std::nullopt, false},                                       // cancelled
        {ChosenIcon{shell32, 19}, false},                            // the icon it has
        {ChosenIcon{shell32, 20}, true},                             // another index
        {ChosenIcon{f.machine.system + L"\\SHELL32.DLL", 19}, true}, // letter case counts
    };
    for (const auto& [picked, staged] : cases) {
        Session& s = f.Start(IconCategory::Start); // "Programs" is selected
        f.chooser.answer = picked;
        f.view.calls.clear();
        f.Change();
        CHECK(f.chooser.asked.back().file == shell32);
        CHECK(f.chooser.asked.back().index == 19);
        const std::wstring now = staged ? FormatIconLocation(picked->file, picked->index) : shell32 + L",19";
        CHECK(f.List(IconCategory::Start).ItemFullPath(L"Programs") == now);
        CHECK(s.IconCacheDirty == staged);
        CHECK(s.HasUnappliedChanges() == staged);
        CHECK(f.view.calls == (staged ? Strings{L"BAR " + now} : Strings{}));
    }
    SUBCASE("an empty selected row changes no item, yet a confirmed pick marks the session") {
        Session& s = f.Start(IconCategory::Apps); // no file type has a class: three items
        const std::vector<IconListItem> before = f.List(IconCategory::Apps).Items();
        f.List(IconCategory::Apps).SelectAt(4 * IconListModel::RowHeight);
        f.chooser.answer = ChosenIcon{shell32, 7};
        f.Change();
        CHECK(f.chooser.asked.back().file.empty());
        for (size_t i = 0; i < before.size(); ++i)
            CHECK(f.List(IconCategory::Apps).Items()[i].IconIndex == before[i].IconIndex);
        CHECK((s.IconCacheDirty && s.HasUnappliedChanges()));
    }
}

TEST_CASE("Change on the Pointer tab browses for a pointer file and stages it with index 0") {
    for (const std::optional<std::wstring>& chosen :
         {std::optional<std::wstring>(), std::optional(L"C:\\P\\busy.ani"s)}) {
        Commands f;
        Session& s = f.Start(IconCategory::Pointers);
        if (chosen) f.files.answers.push_back(*chosen);
        f.Change();
        CHECK(f.List(IconCategory::Pointers).ItemFullPath(L"Normal Select") ==
              (chosen ? *chosen + L",0" : s.Facts.OwnExePath + L",1"));
        CHECK(f.view.calls == (chosen ? Strings{L"CLICK 8", L"BAR C:\\P\\busy.ani,0"} : Strings{}));
        CHECK(s.HasUnappliedChanges() == chosen.has_value());
        CHECK_FALSE(s.IconCacheDirty);
        CHECK(f.chooser.asked.empty());
        CHECK(f.files.calls == Strings{L"OPEN Browse for Pointers|Cursor Files|*.cur;*.ani|Standard Cursors "
                                       L"(*.cur)|*.cur|Animated Cursors (*.ani)|*.ani|"});
    }
}

// Which Default icon each entry has: catalogue_tests' listing.
TEST_CASE("Default puts the catalogue's Default icon on the selected item, and always marks the session") {
    using Expect = std::wstring (*)(const Session&);
    const std::tuple<IconCategory, const wchar_t*, Expect> cases[] = {
        {IconCategory::Desktop, L"My Computer",
         [](const Session& s) { return s.Facts.WindowsDir + L"\\explorer.exe,0"; }},
        {IconCategory::Apps, L"Rich Text Format",
         [](const Session& s) { return s.Variants.WordPadFile + L",1"; }}, // the machine's own WordPad
        {IconCategory::Apps, L"Zip File", [](const Session&) { return L"C:\\picked.ico,2"s; }}, // it has none
        {IconCategory::Pointers, L"Busy", [](const Session& s) { return s.Facts.OwnExePath + L",4"; }},
    };
    for (const auto& [category, key, expected] : cases) {
        CAPTURE(TabIndex(category));
        Commands f;
        for (const wchar_t* extension : {L".rtf", L".zip"})
            RawSetString(HKEY_CLASSES_ROOT, extension, L"", std::wstring(extension + 1) + L"file");
        Session& s = f.Start(category);
        REQUIRE(f.List(category).Change(key, L"", L"C:\\picked.ico", 2));
        f.List(category).SelItemKey(key);
        cmdDefault_Click(s, f.view);
        CHECK(f.List(category).ItemFullPath(key) == expected(s));
        const bool pointer = category == IconCategory::Pointers;
        CHECK(f.view.calls == Strings{pointer ? L"CLICK 8" : L"BAR " + expected(s)});
        CHECK(s.IconCacheDirty == !pointer);
        CHECK(s.HasUnappliedChanges());
    }
}

TEST_CASE("the restores ask first; Cancel stops, OK and closing the prompt go ahead") {
    for (int answer : {0, 1, PromptResult::Closed}) {
        for (bool icons : {true, false}) {
            INFO("answer := ", answer, ", icons := ", icons);
            Commands f;
            Session& s = f.Start(IconCategory::Start);
            s.CurrentThemePath = L"C:\\Themes\\Sun.tstheme";
            f.List(IconCategory::Start).Change(L"Help", L"", L"C:\\picked.ico", 3);
            f.List(IconCategory::Pointers).Change(L"Move", L"", L"C:\\picked.ico", 3);
            f.List(IconCategory::Start).SelItemIndex(2);
            f.prompts.Answer(answer);
            (icons ? RestoreAllIcons : RestoreAllPointers)(s, f.prompts, f.system, f.view);

            const auto confirm = icons ? Messages::ConfirmRestoreIcons : Messages::ConfirmRestorePointers;
            CHECK(f.prompts.shown.at(0).message ==
                  MessageOf([&](PromptPort& p) { confirm(p, L"Windows NT"); }));
            const bool ran = answer != 0;
            CHECK((f.List(IconCategory::Start).ItemFullPath(L"Help") == L"C:\\picked.ico,3") ==
                  !(ran && icons));
            CHECK((f.List(IconCategory::Pointers).ItemFullPath(L"Move") == L"C:\\picked.ico,3") ==
                  !(ran && !icons));
            CHECK(f.List(IconCategory::Start).SeledListIndex() == L"2");
            CHECK(s.HasUnappliedChanges() == ran);
            CHECK(s.IconCacheDirty == (ran && icons));
            CHECK(s.CurrentThemePath.empty() == (ran && icons));
            CHECK(Calls(f.system) == (ran ? L"BUSY|IDLE" : L""));
            Strings shown;
            if (ran) shown.push_back(L"CLICK 3");
            if (ran && icons) shown.push_back(L"CAPTION CLEARED");
            CHECK(f.view.calls == shown);
        }
    }
}

TEST_CASE("Rename stages names exactly as typed; the Recycle Bin's two captions share one name") {
    const std::tuple<IconCategory, const wchar_t*, const wchar_t*, RenameOutcome, const wchar_t*> cases[] = {
        {IconCategory::Desktop, L"Recycle Bin (full)", L"Bin", RenameOutcome::Staged, L"Bin (full)"},
        {IconCategory::Desktop, L"Recycle Bin (empty)", L"Recycle Bin", RenameOutcome::Staged,
         L"Recycle Bin (empty)"},
        {IconCategory::Desktop, L"My Computer", L"My Computer", RenameOutcome::Unchanged, L"My Computer"},
        {IconCategory::Desktop, L"My Computer", L"my computer", RenameOutcome::Staged, L"my computer"},
        {IconCategory::Desktop, L"My Computer", L"", RenameOutcome::EmptyName, L"My Computer"},
        {IconCategory::Folders, L"Printers", L"Queue", RenameOutcome::Staged, L"Queue"},
    };
    for (const auto& [category, key, typed, outcome, caption] : cases) {
        CAPTURE(typed);
        Commands f;
        Session& s = f.Start(category);
        f.List(category).SelItemKey(key);
        const auto target = RenameTargetOf(s);
        REQUIRE(target);
        CHECK(target->name == (target->recycleBin ? L"Recycle Bin" : key));
        CHECK(StageRename(s, *target, typed, target->tooltip) == outcome);
        CHECK(f.List(category).ItemCaption(key) == caption);
        CHECK(s.HasUnappliedChanges() == (outcome == RenameOutcome::Staged));
        CHECK(s.IconCacheDirty == (outcome == RenameOutcome::Staged));
        if (target->recycleBin)
            CHECK(f.List(category).ItemCaption(L"Recycle Bin (empty)") == typed + L" (empty)"s);
    }
    Commands f;
    Session& s = f.Start(IconCategory::Folders);
    f.List(IconCategory::Folders).SelItemKey(L"Open Folder"); // no shell object, no name
    CHECK_FALSE(RenameTargetOf(s));
    s.SelectedTab = TabIndex(IconCategory::Start);
    CHECK_FALSE(RenameTargetOf(s));
}

TEST_CASE("a tooltip is read at start, staged by Rename and written by Apply only when it changed") {
    Commands f;
    const std::wstring computer = L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
    const std::wstring bin = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
    RawSetString(HKEY_CLASSES_ROOT, computer, L"InfoTip", L"Drives");
    const std::wstring expandable = L"@%SystemRoot%\\tips.dll,-5";
    RawSetValue(HKEY_CLASSES_ROOT, bin, L"InfoTip", REG_EXPAND_SZ, expandable.c_str(),
                static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t)));
    Session& s = f.Start(IconCategory::Desktop);
    auto stage = [&](const wchar_t* key, const std::wstring& tip) {
        f.List(IconCategory::Desktop).SelItemKey(key);
        const auto target = RenameTargetOf(s);
        return StageRename(s, *target, target->name, tip);
    };
    auto stored = [](const std::wstring& key) { return RawText(HKEY_CLASSES_ROOT, key, L"InfoTip"); };

    CHECK(stage(L"My Computer", L"Drives") == RenameOutcome::Unchanged);
    CHECK(stage(L"My Computer", L"Everything") == RenameOutcome::Staged);
    CHECK_FALSE(s.IconCacheDirty); // a tooltip is no icon
    ApplyIcons(s, f.system);
    CHECK(stored(computer) == L"Everything");
    CHECK(RawGetValue(HKEY_CLASSES_ROOT, bin, L"InfoTip").type == REG_EXPAND_SZ); // untouched: not rewritten
    // Back to the text read at start after an Apply: written again; emptied: removed.
    CHECK(RenameTargetOf(s)->tooltipAtStart == L"Drives");
    stage(L"My Computer", L"Drives");
    stage(L"Recycle Bin (full)", L"");
    ApplyIcons(s, f.system);
    CHECK(stored(computer) == L"Drives");
    CHECK_FALSE(RawGetValue(HKEY_CLASSES_ROOT, bin, L"InfoTip").exists);
}

TEST_CASE("the picker's grid: the empty cell, key wraps, moves off the ends, and the scroll that follows") {
    // A press in the empty cell below an icon: the picker selections below.
    IconGrid grid;
    grid.Load(5);
    CHECK_FALSE((grid.Press(76, 0) || grid.Press(0, IconGrid::Height)));

    // from, key, then selected and scroll; forty icons are ten columns, two beyond the visible eight
    const std::tuple<int, IconGrid::Arrow, int, int> steps[] = {
        {3, IconGrid::Arrow::Down, 4, 0},     {4, IconGrid::Arrow::Up, 3, 0},
        {0, IconGrid::Arrow::Up, 0, 0},       {1, IconGrid::Arrow::Left, 1, 0},
        {29, IconGrid::Arrow::Right, 33, 38}, {31, IconGrid::Arrow::Down, 32, 38},
        {37, IconGrid::Arrow::Right, 37, 76}, {19, IconGrid::Arrow::Right, 23, 0},
    };
    for (const auto& [from, key, to, scroll] : steps) {
        CAPTURE(from);
        grid.Load(40);
        grid.SelectIcon(from);
        grid.Key(key);
        CHECK(grid.SelectedIndex() == to);
        CHECK(grid.ScrollValue() == scroll);
    }
    grid.Load(40);
    CHECK(grid.ScrollMax() == 76);
    grid.SelectIcon(19); // the bottom of column 4, in view without scrolling
    CHECK((grid.SelectionLeft() == 152 && grid.SelectionTop() == 114 && grid.ScrollValue() == 0));
    grid.SelectIcon(39); // the last column scrolls as far as it can
    CHECK(grid.ScrollValue() == 76);
}

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

TEST_CASE("a library's icons are read from its resources as the platform reads them, each file opened once") {
    TempMachine m;
    auto pixels = [](HICON icon) {
        SurfaceImage cell;
        cell.Resize(32, 32, RGB(255, 0, 255), false);
        if (icon) DrawIconEx(cell.dc(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
        std::vector<COLORREF> all;
        for (int at = 0; at < 32 * 32; ++at) all.push_back(cell.Pixel(at % 32, at / 32));
        return all;
    };
    auto platform = [](const std::wstring& file, int index) {
        HICON icon = nullptr;
        UINT id = 0;
        PrivateExtractIconsW(file.c_str(), index, 32, 32, &icon, &id, 1, 0);
        return UniqueHIcon(icon);
    };
    const std::wstring five = m.Copy(L"five_icons.dll", m.root),
                       red = m.Write(m.root, L"red.ico", ColourIconBytes({{RGB(255, 0, 0)}}));
    const std::wstring none = m.Copy(L"no_icons.dll", m.root);
    for (const std::wstring& file : {five, m.Copy(L"named_icons.dll", m.root), SystemShell32(), red, none}) {
        CAPTURE(file);
        const IconFileBatch batch;
        const std::uint64_t opened = IconFileOpens();
        const int count = FileIconCount(file);
        CHECK(count == static_cast<int>(PrivateExtractIconsW(file.c_str(), 0, 0, 0, nullptr, nullptr, 0, 0)));
        // Every icon by position, the first ones by resource number too, and the first index past the end.
        for (int index = -5; index <= count; ++index) {
            CAPTURE(index);
            UniqueHIcon own(ExtractFileIcon(file, index)), theirs = platform(file, index);
            REQUIRE(static_cast<bool>(own) == static_cast<bool>(theirs));
            CHECK(pixels(own.get()) == pixels(theirs.get()));
        }
        CHECK(IconFileOpens() - opened == 1);
        CHECK(IsProgramFile(file) == (file != red)); // told from the file the batch holds
    }
    CHECK(FileIconCount(five) == 5);
    const std::uint64_t opened = IconFileOpens();
    for (int i = 0; i < 3; ++i) UniqueHIcon once(ExtractFileIcon(five, 0)); // no batch: opened every time
    CHECK(IconFileOpens() - opened == 3);

    // Cut short anywhere, a library gives what its remaining bytes hold, and nothing is read past its end.
    UniqueFile file(
        CreateFileW(five.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    REQUIRE(ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr));
    for (size_t cut : {size_t{2}, size_t{70}, size_t{400}, bytes.size() / 2, bytes.size() - 1}) {
        CAPTURE(cut);
        const std::wstring shorter = m.Write(m.root, L"cut.dll", bytes.substr(0, cut));
        const int count = FileIconCount(shorter);
        CHECK((count >= 0 && count <= 5));
        for (int index = -1; index < count; ++index) UniqueHIcon ignored(ExtractFileIcon(shorter, index));
    }
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
              type(d, frmRename::IdTextbox, L"Bin"); // the caption: the main window's Rename below
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
    Commands f;
    f.Load({.nt = true});
    MainWindow main(*f.session, f.system, f.prompts);
    REQUIRE(main.Create());
    main.UseIconPorts(f.chooser, f.files);
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
        f.files.answers = {path};
        command(IdCmdChange);
        CHECK(TextOf(main.InfoBar()) == path + L",0");
        CHECK(main.List(IconCategory::Pointers)
                  .SurfacePixel(ListBoxIcons::IconLeft + 16, ListBoxIcons::IconTop + 16) == colour);
    }
    command(IdCmdDefault);
    CHECK(TextOf(main.InfoBar()) == L"Windows Default Cursor");

    main.SelectTab(TabIndex(IconCategory::Start));
    f.chooser.answer = ChosenIcon{f.machine.system + L"\\three.dll", 1};
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
