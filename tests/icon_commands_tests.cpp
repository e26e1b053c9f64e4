// Change, Default, the restores, Rename and tooltips on a session, through scripted ports; and the picker's
// grid rules without a window.
#include "apply/apply.h"
#include "icons/change.h"
#include "icons/icon_grid.h"
#include "icons/icon_location.h"
#include "icons/rename.h"
#include "icons/restore.h"
#include "icons/tooltips.h"
#include "support/scripted_icon_ports.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace std::literals;

namespace {

const std::wstring MyComputer = L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

struct Commands : SessionFixture {
    ScriptedIconChooser chooser;
    ScriptedFileDialog files;
    RecordingIconView view;

    Session& Start(int tab, const MachineKind& kind = {.nt = true}) {
        Session& s = Load(kind);
        s.SelectedTab = tab;
        return s;
    }
    IconListModel& List(IconCategory category) { return session->Lists[category]; }
    void Change() { cmdChange_Click(*session, chooser, files, view); }
    std::wstring Shell32(int index) const {
        return machine.system + L"\\shell32.dll," + std::to_wstring(index);
    }
};

} // namespace

TEST_CASE("Change on an icon tab stages the picked icon unless it is the one the item has") {
    struct Case {
        const char* name;
        std::optional<ChosenIcon> picked;
        bool staged;
    };
    Commands f;
    const std::wstring shell32 = f.machine.system + L"\\shell32.dll";
    const Case cases[] = {
        {"cancelled", std::nullopt, false},
        {"the same icon", ChosenIcon{shell32, 19}, false},
        {"another index of the same file", ChosenIcon{shell32, 20}, true},
        {"the same file in other letters counts as another",
         ChosenIcon{f.machine.system + L"\\SHELL32.DLL", 19}, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Session& s = f.Start(3); // "Programs" is selected
        f.chooser.answer = c.picked;
        f.chooser.asked.clear();
        f.view.calls.clear();
        f.Change();
        REQUIRE(f.chooser.asked.size() == 1);
        CHECK(f.chooser.asked[0].file == shell32);
        CHECK(f.chooser.asked[0].index == 19);
        const std::wstring now =
            c.staged ? FormatIconLocation(c.picked->file, c.picked->index) : f.Shell32(19);
        CHECK(f.List(IconCategory::Start).ItemFullPath(L"Programs") == now);
        CHECK(s.IconCacheDirty == c.staged);
        CHECK(s.HasUnappliedChanges() == c.staged);
        CHECK(f.view.calls ==
              (c.staged ? std::vector<std::wstring>{L"BAR " + now} : std::vector<std::wstring>{}));
    }
}

TEST_CASE("Change on an empty row changes no item but still marks a confirmed pick") {
    Commands f;
    Session& s = f.Start(TabIndex(IconCategory::Apps));
    IconListModel& list = f.List(IconCategory::Apps);
    REQUIRE(list.ListCount() <= 5); // no file type has a class in an empty registry
    const std::vector<IconListItem> before = list.Items();
    list.SelectAt(4 * IconListModel::RowHeight);
    REQUIRE(list.Key().empty());
    f.chooser.answer = ChosenIcon{f.machine.system + L"\\three_icons.dll", 1};
    f.Change();
    CHECK(f.chooser.asked[0].file.empty());
    for (size_t i = 0; i < before.size(); ++i) CHECK(list.Items()[i].IconIndex == before[i].IconIndex);
    CHECK(s.IconCacheDirty);
    CHECK(s.HasUnappliedChanges());
}

TEST_CASE("Change on the Pointer tab browses for a pointer file and stages it with index 0") {
    Commands f;
    Session& s = f.Start(TabIndex(IconCategory::Pointers));
    SUBCASE("chosen") {
        f.files.answer = L"C:\\Pointers\\busy.ani";
        f.Change();
        CHECK(f.List(IconCategory::Pointers).ItemFullPath(L"Normal Select") == L"C:\\Pointers\\busy.ani,0");
        CHECK(f.view.calls == std::vector<std::wstring>{L"CLICK 8", L"BAR C:\\Pointers\\busy.ani,0"});
        CHECK(s.HasUnappliedChanges());
    }
    SUBCASE("cancelled") {
        f.Change();
        CHECK(f.List(IconCategory::Pointers).ItemFullPath(L"Normal Select") == s.Facts.OwnExePath + L",1");
        CHECK(f.view.calls.empty());
        CHECK_FALSE(s.HasUnappliedChanges());
    }
    CHECK(f.files.title == L"Browse for Pointers");
    CHECK(f.files.filter == std::wstring(L"Cursor Files\0*.cur;*.ani\0Standard Cursors (*.cur)\0*.cur\0"
                                         L"Animated Cursors (*.ani)\0*.ani\0"sv));
    CHECK(f.chooser.asked.empty());
    CHECK_FALSE(s.IconCacheDirty);
}

TEST_CASE("Default puts the catalogue's Default icon on the selected item") {
    struct Case {
        IconCategory category;
        const wchar_t* key;
        std::wstring (*expected)(const Session&); // empty: the item keeps the icon it had
    };
    const Case cases[] = {
        {IconCategory::Desktop, L"My Computer",
         [](const Session& s) { return s.Facts.WindowsDir + L"\\explorer.exe,0"; }},
        {IconCategory::Start, L"Settings - Control Panel",
         [](const Session& s) { return s.Facts.SystemDir + L"\\shell32.dll,51"; }},
        {IconCategory::Apps, L"GIF Image",
         [](const Session& s) { return s.Facts.SystemDir + L"\\mshtml.dll,9"; }},
        {IconCategory::Apps, L"Rich Text Format",
         [](const Session& s) { return s.Variants.WordPadFile + L",1"; }},
        {IconCategory::Apps, L"Zip File", [](const Session&) { return std::wstring(); }},
        {IconCategory::Pointers, L"Busy", [](const Session& s) { return s.Facts.OwnExePath + L",4"; }},
    };
    for (const Case& c : cases) {
        CAPTURE(TabIndex(c.category));
        Commands f;
        for (const wchar_t* extension : {L".gif", L".rtf", L".zip"})
            RawSetString(HKEY_CLASSES_ROOT, extension, L"", std::wstring(extension + 1) + L"file");
        Session& s = f.Start(TabIndex(c.category), {.nt = true, .ieVersion = L"4.72.3110"});
        IconListModel& list = f.List(c.category);
        const std::wstring picked = f.machine.app + L"\\picked.ico";
        REQUIRE(list.Change(c.key, L"", picked, 2));
        list.SelItemKey(c.key);
        cmdDefault_Click(s, f.view);
        const std::wstring expected = c.expected(s).empty() ? picked + L",2" : c.expected(s);
        CHECK(list.ItemFullPath(c.key) == expected);
        const bool pointer = c.category == IconCategory::Pointers;
        CHECK(f.view.calls == std::vector<std::wstring>{pointer ? L"CLICK 8" : L"BAR " + expected});
        CHECK(s.IconCacheDirty == !pointer);
        CHECK(s.HasUnappliedChanges());
    }
}

TEST_CASE("the restores ask first; Cancel stops, OK and closing the prompt go ahead") {
    for (int answer : {0, 1, PromptResult::Closed}) {
        for (bool icons : {true, false}) {
            CAPTURE(answer);
            CAPTURE(icons);
            Commands f;
            Session& s = f.Start(TabIndex(IconCategory::Start));
            s.CurrentThemePath = L"C:\\Themes\\Sun.tstheme";
            const std::wstring picked = f.machine.app + L"\\picked.ico,3";
            f.List(IconCategory::Start).Change(L"Help", L"", picked);
            f.List(IconCategory::Pointers).Change(L"Move", L"", picked);
            f.List(IconCategory::Start).SelItemIndex(2);
            f.prompts.Answer(answer);
            if (icons)
                RestoreAllIcons(s, f.prompts, f.system, f.view);
            else
                RestoreAllPointers(s, f.prompts, f.system, f.view);

            REQUIRE(f.prompts.shown.size() == 1);
            CHECK(f.prompts.shown[0].message == L"Restoring all your Windows NT " +
                                                    std::wstring(icons ? L"system icons" : L"pointers") +
                                                    L" will return them to Microsoft setup defaults.\n\nAre "
                                                    L"you sure you want to continue?");
            const bool ran = answer != 0;
            CHECK((f.List(IconCategory::Start).ItemFullPath(L"Help") == picked) == !(ran && icons));
            CHECK((f.List(IconCategory::Pointers).ItemFullPath(L"Move") == picked) == !(ran && !icons));
            CHECK(f.List(IconCategory::Start).SeledListIndex() == L"2");
            CHECK(s.SelectedTab == TabIndex(IconCategory::Start));
            CHECK(s.HasUnappliedChanges() == ran);
            CHECK(s.IconCacheDirty == (ran && icons));
            CHECK(s.CurrentThemePath.empty() == (ran && icons));
            CHECK(Calls(f.system) == (ran ? L"BUSY|IDLE" : L""));
            std::vector<std::wstring> shown;
            if (ran) shown.push_back(L"CLICK 3");
            if (ran && icons) shown.push_back(L"CAPTION CLEARED");
            CHECK(f.view.calls == shown);
        }
    }
}

TEST_CASE("Rename stages names exactly as typed; the Recycle Bin's two captions share one name") {
    struct Case {
        IconCategory category;
        const wchar_t* key;
        const wchar_t* typed;
        RenameOutcome outcome;
        const wchar_t* caption; // of the key afterwards
    };
    const Case cases[] = {
        {IconCategory::Desktop, L"Recycle Bin (full)", L"Bin", RenameOutcome::Staged, L"Bin (full)"},
        {IconCategory::Desktop, L"Recycle Bin (empty)", L"Recycle Bin", RenameOutcome::Staged,
         L"Recycle Bin (empty)"},
        {IconCategory::Desktop, L"My Computer", L"My Computer", RenameOutcome::Unchanged, L"My Computer"},
        {IconCategory::Desktop, L"My Computer", L"my computer", RenameOutcome::Staged, L"my computer"},
        {IconCategory::Desktop, L"My Computer", L"", RenameOutcome::EmptyName, L"My Computer"},
        {IconCategory::Folders, L"Printers", L"Print Queue", RenameOutcome::Staged, L"Print Queue"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        Commands f;
        Session& s = f.Start(TabIndex(c.category));
        f.List(c.category).SelItemKey(c.key);
        const auto target = RenameTargetOf(s);
        REQUIRE(target);
        CHECK(target->name == (target->recycleBin ? L"Recycle Bin" : c.key));
        CHECK(StageRename(s, *target, c.typed, target->tooltip) == c.outcome);
        CHECK(f.List(c.category).ItemCaption(c.key) == c.caption);
        if (std::wstring(c.typed) == L"Bin")
            CHECK(f.List(c.category).ItemCaption(L"Recycle Bin (empty)") == L"Bin (empty)");
        CHECK(s.HasUnappliedChanges() == (c.outcome == RenameOutcome::Staged));
        CHECK(s.IconCacheDirty == (c.outcome == RenameOutcome::Staged));
    }
    SUBCASE("only shell objects on the Desktop and Folders tabs have a name") {
        Commands f;
        Session& s = f.Start(TabIndex(IconCategory::Folders));
        f.List(IconCategory::Folders).SelItemKey(L"Open Folder");
        CHECK_FALSE(RenameTargetOf(s));
        s.SelectedTab = TabIndex(IconCategory::Start);
        CHECK_FALSE(RenameTargetOf(s));
    }
}

TEST_CASE("a tooltip is read at start, staged by Rename and written by Apply only when it changed") {
    Commands f;
    const std::wstring binKey = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
    RawSetString(HKEY_CLASSES_ROOT, MyComputer, L"InfoTip", L"Drives and folders");
    const std::wstring expandable = L"@%SystemRoot%\\tips.dll,-5";
    RawSetValue(HKEY_CLASSES_ROOT, binKey, L"InfoTip", REG_EXPAND_SZ, expandable.c_str(),
                static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t)));
    Session& s = f.Start(TabIndex(IconCategory::Desktop));
    auto stage = [&](const wchar_t* key, const std::wstring& tip) {
        f.List(IconCategory::Desktop).SelItemKey(key);
        const auto target = RenameTargetOf(s);
        REQUIRE(target);
        return StageRename(s, *target, target->name, tip);
    };
    auto stored = [&](const std::wstring& key) { return RawGetValue(HKEY_CLASSES_ROOT, key, L"InfoTip"); };

    f.List(IconCategory::Desktop).SelItemKey(L"My Computer");
    CHECK(RenameTargetOf(s)->tooltip == L"Drives and folders");
    CHECK(stage(L"My Computer", L"Drives and folders") == RenameOutcome::Unchanged);
    CHECK(stage(L"My Computer", L"Everything here") == RenameOutcome::Staged);
    CHECK_FALSE(s.IconCacheDirty); // a tooltip is no icon
    ApplyIcons(s, f.system);
    const RawValue written = stored(MyComputer);
    CHECK(std::wstring(reinterpret_cast<const wchar_t*>(written.data.data())) == L"Everything here");
    CHECK(stored(binKey).type == REG_EXPAND_SZ); // untouched tooltips are not rewritten

    // Back to the text read at start after an Apply: written again; emptied: removed.
    f.List(IconCategory::Desktop).SelItemKey(L"My Computer");
    CHECK(RenameTargetOf(s)->tooltipAtStart == L"Drives and folders");
    stage(L"My Computer", L"Drives and folders");
    stage(L"Recycle Bin (full)", L"");
    ApplyIcons(s, f.system);
    CHECK(std::wstring(reinterpret_cast<const wchar_t*>(stored(MyComputer).data.data())) ==
          L"Drives and folders");
    CHECK_FALSE(stored(binKey).exists);
}

TEST_CASE("the picker's grid: cells, the empty cell, key wraps and the scroll that follows") {
    IconGrid grid;
    SUBCASE("five icons: the cell below icon 4 selects no icon, and OK then returns icon 4") {
        grid.Load(5);
        CHECK(grid.Width() == 76);
        CHECK(grid.ScrollMax() == 0);
        grid.SelectIcon(4);
        CHECK(grid.Highlighted());
        CHECK(grid.Press(40, 40));
        CHECK(grid.SelectedIndex() == 5);
        CHECK_FALSE(grid.Highlighted());
        CHECK(grid.ChosenIndex() == 4);
        CHECK_FALSE(grid.Press(76, 0));
        CHECK_FALSE(grid.Press(0, IconGrid::Height));
        CHECK(grid.SelectedIndex() == 5);
    }
    SUBCASE("arrow keys: Down and Up wrap between columns, moves off either end are ignored") {
        struct Step {
            IconGrid::Arrow key;
            int from, to, scroll;
        };
        grid.Load(40); // ten columns, two beyond the visible eight
        CHECK(grid.ScrollMax() == 76);
        const Step steps[] = {
            {IconGrid::Arrow::Down, 3, 4, 0},     {IconGrid::Arrow::Up, 4, 3, 0},
            {IconGrid::Arrow::Up, 0, 0, 0},       {IconGrid::Arrow::Left, 1, 1, 0},
            {IconGrid::Arrow::Right, 29, 33, 38}, {IconGrid::Arrow::Down, 31, 32, 38},
            {IconGrid::Arrow::Right, 37, 37, 76},
        };
        for (const Step& step : steps) {
            CAPTURE(step.from);
            grid.Load(40);
            grid.SelectIcon(step.from);
            grid.Key(step.key);
            CHECK(grid.SelectedIndex() == step.to);
            CHECK(grid.ScrollValue() == step.scroll);
        }
    }
    SUBCASE("opening on an icon: column 4 shows as it is, the last column scrolls up to the maximum") {
        grid.Load(40);
        grid.SelectIcon(19);
        CHECK(grid.SelectionLeft() == 152);
        CHECK(grid.SelectionTop() == 114);
        CHECK(grid.ScrollValue() == 0);
        grid.SelectIcon(39);
        CHECK(grid.ScrollValue() == 76);
        grid.Load(40);
        CHECK(grid.ScrollValue() == 0);
        CHECK_FALSE(grid.Highlighted());
    }
}
