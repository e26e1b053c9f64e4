// Change, Default, the restores, Rename and tooltips on a session through scripted ports, and the picker's
// grid rules without a window.
#include "apply/apply.h"
#include "icons/change.h"
#include "icons/icon_grid.h"
#include "icons/icon_location.h"
#include "icons/rename.h"
#include "icons/restore.h"
#include "prompts/messages.h"
#include "support/registry_dump.h"
#include "support/scripted_icon_ports.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

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
    // A press in the empty cell below an icon: icon_dialogs_tests' picker selections.
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
