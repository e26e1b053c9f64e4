// Saving and loading themes: the file each save writes, each format's reader on whole, partial, empty and
// damaged files, load-and-apply from the command line in a program of its own, and the recent themes; then
// the real open and save dialogs, answered from inside their own loops, alone and behind the main window's
// theme commands.
#include "controls/common_dialog.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "support/dialog_script.h"
#include "support/programs.h"
#include "support/registry_dump.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "themes/recent_themes.h"
#include "themes/theme_commands.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using C = IconCategory;
const MachineKind Win95 = {}, WinNT = {true, true, L"4.72.3110.8"};

using Slots = std::array<std::wstring, RecentThemeSlots>;

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A session with scripted dialogs and prompts; the hooks record the themes that became current.
struct ThemeFixture : SessionFixture {
    ScriptedFileDialogPort dialog;
    Strings current;
    int applied = 0;
    ThemePorts ports{dialog, prompts, system, [this](const std::wstring& p) { current.push_back(p); },
                     [this] { ++applied; }};
    std::wstring themes = machine.MakeFolder(L"Themes");

    std::wstring Theme(const std::wstring& name, const std::string& text) {
        return machine.Write(themes, name, text);
    }
    std::wstring Ref(C c, const wchar_t* key) { return session->Lists[c].ItemFullPath(key); }
    // An item's reference, whichever list holds it (keys are unique across the lists).
    std::wstring Find(const std::wstring& key) {
        for (C c : IconCategories)
            if (session->Lists[c].Find(key)) return session->Lists[c].ItemFullPath(key);
        return L"<no such item>";
    }
    void Set(C c, const wchar_t* key, const std::wstring& ref) { session->Lists[c].Change(key, L"", ref); }
};

constexpr int FileNameBox = 0x47c, FileTypeBox = 0x470; // the dialog's cmb13 and cmb1

DialogScript::Step Type(const std::wstring& name) {
    return [name](HWND dialog) {
        CHECK_MESSAGE(SetDlgItemTextW(dialog, FileNameBox, name.c_str()), "no file name box");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}
// Presses a button by id, in the file dialog or in a message box over it.
DialogScript::Step Press(int id) {
    return [id](HWND dialog) {
        CHECK_MESSAGE(GetDlgItem(dialog, id) != nullptr, "no such button here");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    };
}

} // namespace

TEST_CASE("Save and Save As: the overwrite question, the dialog, the ending and what becomes current") {
    struct Row {
        const char* name;
        bool hasCurrent;
        int overwrite;           // the answer to the overwrite question, -1 when not asked
        const wchar_t* chosen;   // the save dialog's answer (empty: Cancel), nullptr when not shown
        const wchar_t* expected; // the file written, nullptr for none
    } rows[] = {
        {"no current theme: as Save As", false, -1, L"Sun", L"Sun.tstheme"},
        {"Yes overwrites", true, 2, nullptr, L"Old.tstheme"},
        {"closed without a button overwrites", true, 4, nullptr, L"Old.tstheme"},
        {"No asks for another name, kept in its letter case", true, 1, L"Sun.TsTheme", L"Sun.TsTheme"},
        {"a foreign theme is never written over", true, 1, L"sun.theme", L"sun.theme.tstheme"},
        {"Cancel writes nothing", true, 0, nullptr, nullptr},
        {"Cancel in the dialog writes nothing", false, -1, L"", nullptr},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        ThemeFixture f;
        Session& s = f.Load(Win95);
        if (row.hasCurrent) s.CurrentThemePath = f.themes + L"\\Old.tstheme";
        if (row.overwrite >= 0) f.prompts.Answer(row.overwrite);
        if (row.chosen) f.dialog.answers.push_back(*row.chosen ? f.themes + L"\\" + row.chosen : L"");
        SaveTheme(s, true, f.ports);
        CHECK(f.prompts.shown.size() == (row.overwrite >= 0 ? 1u : 0u));
        CHECK(f.dialog.calls == Strings(row.chosen ? 1 : 0, L"SAVE Save Theme|Icon Theme|*.tstheme|"));
        const std::wstring written = row.expected ? f.themes + L"\\" + row.expected : L"";
        CHECK(f.current == Strings(row.expected ? 1 : 0, written));
        CHECK(RawText(HKEY_CURRENT_USER, ProgramSubkey, L"Current Theme") ==
              (row.expected ? written : L"<none>"));
        CHECK(std::filesystem::exists(written) == (row.expected != nullptr));
        CHECK(std::distance(std::filesystem::directory_iterator(f.themes), {}) == (row.expected ? 1 : 0));
    }
}

TEST_CASE("the saved file: the credits, then the seven sections with their keys in order under the machine's "
          "conditions, compressed, without the program's own pictures") {
    for (auto [kind, keys] : {std::pair{Win95, "7 10 7 8 8 18 1"}, {WinNT, "7 12 10 8 8 18 1"}}) {
        ThemeFixture f;
        Session& s = f.Load(kind);
        const std::wstring file = f.themes + L"\\Look.tstheme";
        f.Set(C::Pointers, L"Busy", f.machine.windows + L"\\busy.ani");
        f.Set(C::Drives, L"Removable Drive", f.themes + L"\\disk.ico,2");
        f.Set(C::Others, L"Sharing Overlay", L"c:\\windows\\hand.ico,1");
        WriteThemeFile(s, file);
        // Section names and key counts in file order, and the entries whose keys differ from the items'.
        const std::string text = ReadBytes(file);
        std::istringstream lines(text);
        std::string sections, counts;
        int n = -1;
        for (std::string line; std::getline(lines, line);) {
            if (line.ends_with('\r')) line.pop_back();
            if (line.starts_with("[")) {
                sections += line;
                counts += n < 0 ? "" : std::to_string(n) + " ";
                n = 0;
            } else
                n += !line.empty();
        }
        CHECK(sections == "[Software Credits][Desktop Icons][Start Icons][Folder Icons][Drive Icons]"
                          "[Other Icons][System Icons][Pointers]");
        CHECK(counts + std::to_string(n) == "4 " + std::string(keys)); // Busy is the only own pointer
        CHECK(text.starts_with("[Software Credits]\r\nSoftware=Tessaly 2.02\r\nCompany=Korvath\r\nWebsite="));
        CHECK(text.find("\r\nEmail=") < text.find("[Desktop Icons]"));
        for (const char* entry : {"Busy=%WinDir%busy.ani,0", "Removeable Drive=%ThemeDir%disk.ico,2",
                                  "Sharing=c:\\windows\\hand.ico,1", "Network Drive=%WinSysDir%shell32.dll,9",
                                  "Floppy Drive (5.25)=%WinSysDir%shell32.dll,5", "Url History Folder=\r\n",
                                  "Settings | Printers=%WinSysDir%shell32.dll,37"})
            CHECK_MESSAGE(text.find(entry) != std::string::npos, entry);
        CHECK((text.find("Favorites=") != std::string::npos) == kind.nt);
        CHECK((text.find("Users Program Group=") != std::string::npos) == kind.nt);
        CHECK(text.find("Normal Select=") == std::string::npos);
    }
}

TEST_CASE("a theme saved on one machine loads on another with the same icons, also from beside the theme") {
    ThemeFixture a, b;
    Session& sa = a.Load(WinNT);
    const auto icon = [](const TempMachine& m, const std::wstring& folder, const wchar_t* name) {
        return m.Write(folder, name, IconFileBytes(IconFileKind::Icon));
    };
    a.Set(C::Desktop, L"My Computer", icon(a.machine, a.machine.system, L"a.ico") + L",1");
    a.Set(C::Start, L"Programs", icon(a.machine, a.machine.windows, L"b.ico") + L",2");
    a.Set(C::Drives, L"Hard Drive", icon(a.machine, a.machine.app, L"c.ico") + L",3");
    a.Set(C::Pointers, L"Busy", icon(a.machine, a.themes, L"d.cur"));
    // Saving over an older file keeps what this save does not write (the pointer left at its default).
    const std::wstring file = a.Theme(L"Trip.tstheme", "[Pointers]\r\nNormal Select=%ThemeDir%d.cur,0\r\n");
    a.dialog.answers.push_back(file);
    SaveTheme(sa, false, a.ports);

    Session& sb = b.Load(Win95);
    for (auto [folder, name] :
         {std::pair{b.machine.system, L"a.ico"}, {b.machine.windows, L"b.ico"}, {b.machine.app, L"c.ico"}})
        icon(b.machine, folder, name);
    const std::wstring moved = b.machine.MakeFolder(L"Moved");
    for (const wchar_t* name : {L"Trip.tstheme", L"d.cur"})
        std::filesystem::copy_file(a.themes + L"\\" + name, moved + L"\\" + name);
    REQUIRE(OpenTheme(sb, moved + L"\\Trip.tstheme", false, b.ports));
    CHECK(b.Ref(C::Desktop, L"My Computer") == b.machine.system + L"\\a.ico,1");
    CHECK(b.Ref(C::Start, L"Programs") == b.machine.windows + L"\\b.ico,2");
    CHECK(b.Ref(C::Drives, L"Hard Drive") == b.machine.app + L"\\c.ico,3");
    CHECK(b.Ref(C::Pointers, L"Busy") == moved + L"\\d.cur,0");
    CHECK(b.Ref(C::Pointers, L"Normal Select") == moved + L"\\d.cur,0");
    // Every other item as on the first machine, its folder moved along.
    for (C c : IconCategories)
        for (const IconListItem& item : sb.Lists[c].Items()) {
            CAPTURE(item.Key);
            if (item.Key == L"Busy" || item.Key == L"Normal Select") continue;
            std::wstring expected = a.Ref(c, item.Key.c_str());
            if (expected.starts_with(a.machine.root))
                expected.replace(0, a.machine.root.size(), b.machine.root);
            CHECK(b.Ref(c, item.Key.c_str()) == expected);
        }
}

TEST_CASE_FIXTURE(ThemeFixture, "a theme file that cannot be written is reported and changes nothing") {
    Session& s = Load(Win95);
    const std::wstring locked = Theme(L"Locked.tstheme", "[Desktop Icons]\r\nMy Computer=x.ico,1\r\n");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    for (const std::wstring& target : {locked, themes + L"\\Missing\\New.tstheme"}) {
        CAPTURE(target);
        prompts.shown.clear();
        dialog.answers.push_back(target);
        SaveTheme(s, false, ports);
        CHECK(prompts.ShownMessages() ==
              Strings{MessageOf([&](PromptPort& p) { Messages::ShowThemeNotSaved(p, target); })});
    }
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK(ReadBytes(locked) == "[Desktop Icons]\r\nMy Computer=x.ico,1\r\n");
    CHECK(current.empty());
    CHECK(s.CurrentThemePath.empty());
    CHECK(RawText(HKEY_CURRENT_USER, ProgramSubkey, L"Current Theme") == L"<none>");
}

TEST_CASE("each format read from whole, partial, empty and damaged files, never writing the registry") {
    // In the files "@" stands for "%AppDir%star.ico,"; expected: item=reference under the program folder,
    // or item= for unchanged.
    const std::string longName(150, 'd'),
        motifCls = "[CLSID\\{000",
        shellIcons = "[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons]\n";
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919) % 251));
    struct Row {
        const wchar_t* file;
        std::string text;
        std::wstring expect;
        bool missing = false;
    } rows[] = {
        {L"Full.tstheme",
         "[Desktop Icons]\nMy Computer=@1\n[Drive Icons]\nRemoveable Drive=@2\nNetwork Drive=@3\n"
         "[Other Icons]\nSharing=@4\nApplication=@5\nDefault Icon=@6\n[System Icons]\nDefault Icon=@7\n"
         "Application=@8\n[Pointers]\nBusy=@9\n[Start Icons]\nSettings | Printers=@11\n",
         L"My Computer=star.ico,1|Removable Drive=star.ico,2|Network Drive (connected)=star.ico,3|"
         L"Sharing Overlay=star.ico,4|MS-DOS Application=star.ico,5|Default Icon=star.ico,7|Busy=star.ico,9|"
         L"Settings - Printers=star.ico,11"},
        {L"CREDITS.TSTHEME", "[Software Credits]\nSoftware=Tessaly 2.02\n", L"My Computer="},
        {L"Empty.tstheme", "", L"My Computer="},
        {L"NoSections.tstheme", "My Computer=@1\n", L"My Computer="},
        {L"Garbage.tstheme", garbage, L"My Computer="},
        {L"Long.tstheme",
         "[Desktop Icons]\nMy Computer=" + std::string(100000, 'x') + ",1\nThe Internet=%AppDir%" + longName +
             "\\star.ico,3\nNetwork Neighborhood=%AppDir%star.ico\nIn Box=1\nMy Briefcase=@1\n"
             "My Briefcase=@2\n",
         L"My Computer=|The Internet=" + std::wstring(longName.begin(), longName.end()) +
             L"\\star.ico,3|Network Neighborhood=star.ico,0|In Box=|My Briefcase=star.ico,1"},
        {L"Missing.tstheme",
         "[Desktop Icons]\nMy Computer=%AppDir%gone.ico,1\nNetwork Neighborhood=\\\\server\\share\\x.ico,0\n"
         "The Internet=//server/x.ico,0\nIn Box=\\/server\\x.ico,0\n",
         L"My Computer=gone.ico,1|Network Neighborhood=|The Internet=|In Box=", true},
        {L"Sun.MOTIF",
         motifCls + "20D75-0000-0000-C000-000000000046}\\DefaultIcon]\nDefaultValue=@1\n" + motifCls +
             "20D76-0000-0000-C000-000000000046}\\DefaultIcon]\nDefaultValue=@2\n"
             "[CLSID\\{992CFFA0-F557-101A-88EC-00DD010CCC48}\\DefaultIcon]\nDefaultValue=@3\n"
             "[CLSID\\{a4d92740-67cd-11cf-96f2-00aa00a11dd9}\\DefaultIcon]\nDefaultValue=\n" +
             shellIcons + "19=@4\n2=@5\n[Control Panel\\Cursors]\nNWPen=@6\n",
         L"In Box=star.ico,2|Dial-Up Networking=star.ico,3|Programs=star.ico,4|"
         L"MS-DOS Application=star.ico,5|Handwriting=star.ico,6"},
        {L"Sun.Theme",
         "[CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon]\nfull=@1\n" + shellIcons +
             "19=@4\n[Control Panel\\Cursors]\nWait=@2\n",
         L"Recycle Bin (full)=star.ico,1|Programs=|Busy=star.ico,2"},
    };
    for (Row& row : rows) {
        CAPTURE(row.file);
        ThemeFixture f;
        f.machine.Write(f.machine.app, L"star.ico", IconFileBytes(IconFileKind::Icon));
        f.machine.Write(f.machine.MakeFolder(L"App\\" + std::wstring(longName.begin(), longName.end())),
                        L"star.ico", IconFileBytes(IconFileKind::Icon));
        Session& s = f.Load(Win95);
        const std::wstring registry = DumpRegistry();
        for (size_t at; (at = row.text.find('@')) != std::string::npos;)
            row.text.replace(at, 1, "%AppDir%star.ico,");
        std::vector<std::pair<std::wstring, std::wstring>> expected; // item, reference
        for (std::wstringstream list(row.expect); std::getline(list, row.expect, L'|');) {
            const size_t eq = row.expect.find(L'=');
            const std::wstring item = row.expect.substr(0, eq), ref = row.expect.substr(eq + 1);
            expected.push_back({item, ref.empty() ? f.Find(item) : f.machine.app + L"\\" + ref});
        }
        const std::wstring path = f.Theme(row.file, row.text);
        REQUIRE(OpenTheme(s, path, false, f.ports));
        for (const auto& [item, ref] : expected) CHECK(f.Find(item) == ref);
        // Once per file, through the notice that a tick switches off (its rules are the prompt tests').
        CHECK(f.prompts.ShownMessages() ==
              Strings(row.missing ? 1 : 0, MessageOf(Messages::ShowMissingIcons)));
        CHECK(DumpRegistry() == registry);
        CHECK(f.current == Strings{path});
        CHECK((s.IconCacheDirty && s.HasUnappliedChanges()));
    }
}

TEST_CASE("Open Theme: the dialog, files that are no themes, Cancel and the command line") {
    ThemeFixture f;
    Session& s = f.Load(Win95);
    const std::wstring sun = f.Theme(L"Sun.tstheme", "[Desktop Icons]\n"),
                       notes = f.Theme(L"notes.txt", "[Desktop Icons]\n");
    const std::wstring openCall =
        L"OPEN Open Theme|All Theme Files|*.tstheme;*.motif;*.theme|Icon Theme "
        L"(*.tstheme)|*.tstheme|Microangelo Motif (*.motif)|*.motif|Microsoft Theme "
        L"(*.theme)|*.theme|";
    auto invalid = [](const std::wstring& path) {
        return MessageOf([&](PromptPort& p) { Messages::ShowInvalidTheme(p, path); });
    };
    SUBCASE("another ending, and a deleted file, get the prompt and the dialog again") {
        f.dialog.answers = {notes, sun};
        CHECK(OpenTheme(s, f.themes + L"\\Deleted.tstheme", false, f.ports));
        CHECK(f.prompts.ShownMessages() == Strings{invalid(f.themes + L"\\Deleted.tstheme"), invalid(notes)});
        CHECK(f.dialog.calls == Strings{openCall, openCall});
        CHECK(f.current == Strings{sun});
    }
    SUBCASE("Cancel changes nothing") {
        CHECK_FALSE(OpenTheme(s, L"", false, f.ports));
        CHECK(f.current.empty());
        CHECK_FALSE(s.IconCacheDirty);
        CHECK_FALSE(s.HasUnappliedChanges());
        CHECK(Calls(f.system).empty());
    }
    SUBCASE("\"/a\" and a quoted path load and apply; \"/A\" is part of a file name") {
        CHECK(OpenTheme(s, L"/a \"" + sun + L"\"", true, f.ports));
        CHECK(f.applied == 1);
        CHECK(s.CurrentThemePath == sun);
        CHECK_FALSE(s.HasUnappliedChanges());
        s.AutoApply = false;
        CHECK_FALSE(OpenTheme(s, L"/A " + sun, true, f.ports));
        CHECK(f.prompts.shown.at(0).message == invalid(L"/A " + sun));
        CHECK(f.dialog.calls == Strings{openCall});
        CHECK_FALSE(s.AutoApply);
        CHECK(f.applied == 1);
        CHECK(Calls(f.system) == L"BUSY|IDLE|BUSY|IDLE");
    }
}

TEST_CASE(
    "\"/a\" and a path, run as its own program: the theme is applied, the settings are not, and it ends") {
    // The program runs on this prefix's own registry, not a sandbox; what it is checked on is put back.
    const std::wstring exe = std::filesystem::absolute(L"Tessaly.exe").wstring();
    REQUIRE(std::filesystem::exists(exe));
    TempMachine m;
    const std::wstring folder = m.MakeFolder(L"My Themes");
    m.Write(folder, L"pc.ico", IconFileBytes(IconFileKind::Icon));
    m.Write(folder, L"arrow.cur", IconFileBytes(IconFileKind::Cursor));
    const std::wstring theme = m.Write(folder, L"Sun.tstheme",
                                       "[Desktop Icons]\nMy Computer=%ThemeDir%pc.ico,0\n[Pointers]\n"
                                       "Normal Select=%ThemeDir%arrow.cur,0\n");
    const HKEY HKCU = HKEY_CURRENT_USER;
    const std::wstring computer = L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon";
    const std::tuple<HKEY, std::wstring, const wchar_t*> checked[] = {
        {HKCU, ProgramSubkey, L"Dialog Rebuild"},
        {HKCU, ProgramSubkey, L"Current Theme"},
        {HKCU, L"Control Panel\\Sound", L"Beep"},
        {HKEY_CLASSES_ROOT, computer, L""},
        {HKCU, L"Control Panel\\Cursors", L"Arrow"}};
    std::vector<RawValue> saved;
    for (const auto& [root, key, name] : checked) saved.push_back(RawGetValue(root, key, name));
    RawSetDword(HKCU, ProgramSubkey, L"Dialog Rebuild", 1); // no notice to wait on
    RawSetString(HKCU, L"Control Panel\\Sound", L"Beep", L"marker");

    CHECK(RunAndWait(L"\"" + exe + L"\" /a \"" + theme + L"\""));
    CHECK(RawText(HKEY_CLASSES_ROOT, computer, L"") == folder + L"\\pc.ico,0");
    CHECK(RawText(HKCU, L"Control Panel\\Cursors", L"Arrow") == folder + L"\\arrow.cur");
    CHECK(RawText(HKCU, ProgramSubkey, L"Current Theme") == theme);
    CHECK(RawText(HKCU, L"Control Panel\\Sound", L"Beep") == L"marker");

    for (size_t i = 0; i < saved.size(); ++i) {
        const auto& [root, key, name] = checked[i];
        if (saved[i].exists)
            RawSetValue(root, key, name, saved[i].type, saved[i].data.data(), DWORD(saved[i].data.size()));
        else
            RegDeleteKeyValueW(root, key.c_str(), name);
    }
}

TEST_CASE("a theme goes first in the recent list unless slot 1 holds it already") {
    struct Case {
        const char* name;
        Slots before;
        std::wstring added;
        Slots after;
    };
    const Case cases[] = {
        {"into an empty list", {}, L"C:\\A.tstheme", {L"C:\\A.tstheme"}},
        {"the same again", {L"C:\\A.tstheme"}, L"C:\\A.tstheme", {L"C:\\A.tstheme"}},
        {"the same in other letter case", {L"C:\\A.tstheme"}, L"c:\\a.TSTHEME", {L"C:\\A.tstheme"}},
        {"pushes the others down", {L"one", L"two"}, L"three", {L"three", L"one", L"two"}},
        // clang-format off
        {"the oldest falls out", {L"one", L"two", L"three", L"four"}, L"five",
         {L"five", L"one", L"two", L"three"}},
        // Only slot 1 is compared, so a theme lower down is listed twice.
        {"one further down", {L"one", L"two", L"three", L"four"}, L"three",
         {L"three", L"one", L"two", L"three"}},
        // clang-format on
        {"the empty text changes nothing", {L"one", L"two"}, L"", {L"one", L"two"}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        SessionFixture f;
        Session& session = f.Load({});
        for (int slot = 1; slot <= RecentThemeSlots; ++slot)
            if (!c.before[slot - 1].empty())
                Registry::WriteString(ThemesKey, std::to_wstring(slot), c.before[slot - 1]);
        int told = 0;
        session.ThemesChanged = [&told] { ++told; };
        AddRecentTheme(session, c.added);
        CHECK(ReadRecentThemes() == c.after);
        CHECK(told == 1);
    }
}

TEST_CASE("CommonDialog: title and filter kept, the last filter pair preselected, Cancel, the platform's own "
          "checks, and paths longer than 255 characters") {
    OwnerWindow owner;
    TempMachine m;
    const std::wstring text = m.Write(m.root, L"notes.txt", "x");
    CommonDialog dialog(owner.get());
    dialog.Filter(std::wstring(L"Icons\0*.ico\0Text\0*.txt\0", 24));
    dialog.Title(L"Pick");
    std::wstring name = L"stale";
    auto show = [&](bool save, std::vector<DialogScript::Step> steps) {
        DialogScript script(std::move(steps));
        const bool chosen = save ? dialog.ShowSave(name) : dialog.ShowOpen(name);
        CHECK(script.Completed());
        return chosen;
    };
    // A new file whose path is longer than the old 255-byte buffer (the platform's own dialog here stops at
    // MAX_PATH).
    std::wstring longPath = m.MakeFolder(std::wstring(120, L'f')) + L"\\";
    longPath += std::wstring(254 - longPath.size(), L'n') + L".txt";
    CHECK(show(true, {Type(longPath)}));
    CHECK(name == longPath);
    auto fileType = [](HWND d) { return SendDlgItemMessageW(d, FileTypeBox, CB_GETCURSEL, 0, 0); };
    CHECK(show(false, {[&](HWND d) {
                           CHECK(TextOf(d) == L"Pick");
                           CHECK(fileType(d) == 0);
                           SendDlgItemMessageW(d, FileTypeBox, CB_SETCURSEL, 1, 0);
                           for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) // as a click sends them
                               SendMessageW(d, WM_COMMAND, MAKEWPARAM(FileTypeBox, code),
                                            reinterpret_cast<LPARAM>(GetDlgItem(d, FileTypeBox)));
                       },
                       Type(text)}));
    CHECK(name == text);
    CHECK_FALSE(show(false, {[&](HWND d) { CHECK(fileType(d) == 1); }, Press(IDCANCEL)}));
    CHECK(name.empty());
    // Open refuses a missing file: the platform says so (a message box, no name box) and the dialog stays.
    auto messageBox = [](HWND d) {
        CHECK(GetDlgItem(d, FileNameBox) == nullptr);
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    CHECK_FALSE(show(false, {Type(m.root + L"\\none.txt"), messageBox, Press(IDCANCEL)}));
    CHECK(show(true, {Type(text), Press(IDYES)})); // Save over an existing file asks first; IDYES answers it
    CHECK(name == text);
}

TEST_CASE("the File menu's theme commands through the real dialogs, and the recent themes") {
    ThemeFixture f;
    Session& s = f.Load(Win95);
    MainWindow main(s, f.system, f.prompts);
    REQUIRE(main.Create());
    for (int id : {IdMenuOpenTheme, IdMenuSaveTheme, IdMenuSaveThemeAs, IdMenuRecentTheme1,
                   IdMenuRecentTheme2, IdMenuRecentTheme3, IdMenuRecentTheme4})
        CHECK(main.HasCommand(id));
    auto command = [&](int id) { SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    const std::wstring icon = f.Theme(L"pc.ico", IconFileBytes(IconFileKind::Icon));
    s.Lists[IconCategory::Desktop].Change(L"My Computer", L"", icon + L",0");
    auto viaDialog = [&](int id, const std::wstring& typed) {
        DialogScript script({Type(typed)});
        command(id);
        CHECK(script.Completed());
    };
    const std::wstring mine = f.themes + L"\\Mine.tstheme";
    viaDialog(IdMenuSaveThemeAs, f.themes + L"\\Mine");
    CHECK(s.CurrentThemePath == mine); // read back below from the recent list
    const std::wstring other =
        f.Theme(L"Other.motif", "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]\n"
                                "DefaultValue=%ThemeDir%pc.ico,1\n");
    viaDialog(IdMenuOpenTheme, other);
    CHECK(TextOf(main.InfoBar()) == icon + L",1");
    Registry::WriteString(ThemesKey, L"3", mine);
    command(IdMenuRecentTheme3);
    CHECK(s.CurrentThemePath == mine);
    CHECK(TextOf(main.InfoBar()) == icon + L",0");
    CHECK(Registry::ReadString(ThemesKey, L"1") == mine); // the list follows the loads
    Registry::DeleteValue(ThemesKey, L"4");
    const size_t shown = f.prompts.shown.size();
    command(IdMenuRecentTheme4); // an empty slot opens nothing
    CHECK(f.prompts.shown.size() == shown);
    CHECK(s.CurrentThemePath == mine);
    DestroyWindow(main.hwnd());
}
