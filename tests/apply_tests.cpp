#include "apply/apply.h"
#include "icons/catalogue.h"
#include "registry/registry.h"
#include "settings/settings_catalogue.h"
#include "support/registry_dump.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::wstring ShellIcons = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
const std::wstring Cursors = L"Control Panel\\Cursors";
const std::wstring Desktop = L"Control Panel\\desktop";
const std::wstring MyComputer = L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
const std::wstring Bin = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
const std::wstring UrlHistory = L"CLSID\\{FF393560-C2A7-11CF-BFF4-444553540000}";

const char Win95Off[] =
#include "expected/apply_win95_off.inc"
    ;
const char Win95On[] =
#include "expected/apply_win95_on.inc"
    ;
const char WinNTOn[] =
#include "expected/apply_winnt_on.inc"
    ;
const char WinNTOff[] =
#include "expected/apply_winnt_off.inc"
    ;
const char WinNTAutoApply[] =
#include "expected/apply_winnt_autoapply.inc"
    ;

std::wstring Text(const RawValue& v) {
    if (!v.exists || (v.type != REG_SZ && v.type != REG_EXPAND_SZ)) return L"<none>";
    std::wstring s(reinterpret_cast<const wchar_t*>(v.data.data()), v.data.size() / sizeof(wchar_t));
    if (!s.empty() && s.back() == L'\0') s.pop_back();
    return s;
}

std::wstring ReadText(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    return Text(RawGetValue(root, subkey, name));
}

// A machine someone has used: a few file types, a Programs icon and an arrow pointer of their own, a renamed
// My Computer, a wallpaper, and the Recycle Bin showing its empty icon.
struct LivedIn {
    std::wstring icon, cursor;

    explicit LivedIn(const TempMachine& m) {
        icon = m.Write(m.app, L"star.ico", IconFileBytes(IconFileKind::Icon));
        cursor = m.Write(m.app, L"hand.cur", IconFileBytes(IconFileKind::Cursor));
        RawSetString(HKEY_LOCAL_MACHINE, ShellIcons, L"19", icon + L",0");
        RawSetString(HKEY_CURRENT_USER, Cursors, L"Arrow", cursor);
        RawSetString(HKEY_CLASSES_ROOT, L".bmp", L"", L"Paint.Picture");
        RawSetString(HKEY_CLASSES_ROOT, L".txt", L"", L"txtfile");
        RawSetString(HKEY_CLASSES_ROOT, L"txtfile\\DefaultIcon", L"", icon + L",0");
        RawSetString(HKEY_CLASSES_ROOT, MyComputer, L"", L"Workstation");
        RawSetString(HKEY_CLASSES_ROOT, Bin, L"", m.system + L"\\shell32.dll,31");
        RawSetString(HKEY_CLASSES_ROOT, Bin, L"Empty", m.system + L"\\shell32.dll,31");
        RawSetString(HKEY_CLASSES_ROOT, Bin, L"Full", m.system + L"\\shell32.dll,32");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"Wallpaper", L"C:\\WINDOWS\\Clouds.bmp");
    }
};

// Every toggle the tree can switch; the ones shown unavailable stay so.
void SetEveryToggle(Session& s, bool on) {
    std::vector<std::wstring> keys;
    for (const SettingNode& n : s.Settings.Nodes())
        if (n.Kind == SettingKind::Toggle && n.Image != SettingImage::Unavailable) keys.push_back(n.Key);
    for (const auto& key : keys) s.Settings.SetImage(key, on ? SettingImage::On : SettingImage::Off);
}

// What a user who went through the numbers, the folder verb and the tabs leaves staged.
void EditEverything(Session& s) {
    s.Settings.SetStagedText(L"Double Click Width", L"6");
    s.Settings.SetStagedText(L"Double Click Height", L"7");
    s.Settings.SetStagedText(L"Double Click Speed", L"650");
    s.Settings.SetStagedText(L"Drag Width", L"3");
    s.Settings.SetStagedText(L"Drag Height", L"5");
    s.Settings.SetStagedText(L"Menu Show Delay", L"250");
    s.Settings.SetStagedText(L"Wallpaper Horizontal Origin", L"10");
    s.Settings.SetStagedText(L"Wallpaper Vertical Origin", L"20");
    s.Settings.SetStagedText(L"Default Menu Item", L"Explore");
    s.SelectedTab = 5;
    s.CurrentThemePath = L"C:\\Themes\\Sun.tstheme";
    s.IconCacheDirty = true;
}

// "[key] line" for every value line, so that a difference names its key.
std::multiset<std::wstring> Qualified(const std::wstring& dump) {
    std::multiset<std::wstring> lines;
    std::wstring key;
    size_t start = 0;
    while (start < dump.size()) {
        size_t end = dump.find(L'\n', start);
        if (end == std::wstring::npos) end = dump.size();
        std::wstring line = dump.substr(start, end - start);
        if (line.starts_with(L"[")) key = line;
        lines.insert(line.starts_with(L"[") ? line : key + L" " + line);
        start = end + 1;
    }
    return lines;
}

std::string Difference(const std::wstring& expected, const std::wstring& actual) {
    auto want = Qualified(expected), got = Qualified(actual);
    std::string out;
    for (const auto& line : want)
        if (!got.contains(line)) out += "- " + text::Narrow(line) + "\n";
    for (const auto& line : got)
        if (!want.contains(line)) out += "+ " + text::Narrow(line) + "\n";
    return out.empty() ? "same lines, different order" : out;
}

// The whole sandboxed registry against an expected dump; on a difference the dump as it came out is left
// in the working folder under `name`.
void CheckDump(const SessionFixture& f, const char* expected, const char* name) {
    const std::wstring actual = NormaliseDump(DumpRegistry(f.Placeholders()));
    const std::wstring want = NormaliseDump(text::Widen(expected));
    if (actual != want)
        std::ofstream(std::string(name) + ".actual.txt", std::ios::binary) << text::Narrow(actual);
    CHECK_MESSAGE(actual == want, Difference(want, actual));
}

} // namespace

TEST_CASE("Apply leaves the registry as the machine and the staged state say") {
    SessionFixture f;
    LivedIn livedIn(f.machine);

    SUBCASE("Windows 95 without the IE4 shell or Plus!, every toggle off, nothing else edited") {
        Session& s = f.Load({false, false, L"Error"});
        SetEveryToggle(s, false);
        ApplyChanges(s, f.system, f.prompts);
        CheckDump(f, Win95Off, "apply_win95_off");

        SUBCASE("a second Apply without edits writes the same") {
            ApplyChanges(s, f.system, f.prompts);
            CheckDump(f, Win95Off, "apply_win95_off_again");
        }
    }
    SUBCASE("Windows 95 with the IE4 shell and Plus!, every toggle on, everything edited") {
        Session& s = f.Load({false, true, L"4.71.1712.6"});
        SetEveryToggle(s, true);
        EditEverything(s);
        ApplyChanges(s, f.system, f.prompts);
        CheckDump(f, Win95On, "apply_win95_on");
    }
    SUBCASE("Windows NT with the IE4 shell, Url History and Plus!, every toggle on, everything edited") {
        RawSetString(HKEY_CLASSES_ROOT, UrlHistory, L"", L"History");
        Session& s = f.Load({true, true, L"4.72.3110.8"});
        SetEveryToggle(s, true);
        EditEverything(s);
        ApplyChanges(s, f.system, f.prompts);
        CheckDump(f, WinNTOn, "apply_winnt_on");
    }
    SUBCASE("Windows NT without the IE4 shell or Plus!, every toggle off") {
        Session& s = f.Load({true, false, L"5.00.2014"});
        SetEveryToggle(s, false);
        ApplyChanges(s, f.system, f.prompts);
        CheckDump(f, WinNTOff, "apply_winnt_off");
    }
    SUBCASE("AutoApply: icons, names, pointers and the current theme only") {
        Session& s = f.Load({true, true, L"4.72.3110.8"});
        SetEveryToggle(s, true);
        EditEverything(s);
        s.AutoApply = true;
        ApplyChanges(s, f.system, f.prompts);
        CheckDump(f, WinNTAutoApply, "apply_winnt_autoapply");
    }
}

TEST_CASE("where Apply's order decides what is stored") {
    SessionFixture f;
    const TempMachine& m = f.machine;
    const std::wstring star = m.Write(m.app, L"star.ico", IconFileBytes(IconFileKind::Icon));
    const std::wstring moon = m.Write(m.app, L"moon.ico", IconFileBytes(IconFileKind::Icon));

    SUBCASE("the bitmap thumbnail setting comes after \"Bitmap Image\" and wins its class's icon") {
        RawSetString(HKEY_CLASSES_ROOT, L".bmp", L"", L"Paint.Picture");
        Session& s = f.Load({true, true, L"Error"});
        s.Lists[IconCategory::Apps].Change(L"Bitmap Image", L"", star + L",0");
        SUBCASE("on") {
            s.Settings.SetImage(L"Bitmap Thumbnail as Default Icon", SettingImage::On);
            ApplyChanges(s, f.system, f.prompts);
            CHECK(ReadText(HKEY_CLASSES_ROOT, L"Paint.Picture\\DefaultIcon", L"") == L"%1");
            CHECK(ReadText(HKEY_CLASSES_ROOT, L".bmp", L"") == L"Paint.Picture");
            CHECK(ReadText(HKEY_CLASSES_ROOT, L".bmp\\ShellNew", L"Command") == L"");
        }
        SUBCASE("off") {
            s.Settings.SetImage(L"Bitmap Thumbnail as Default Icon", SettingImage::Off);
            ApplyChanges(s, f.system, f.prompts);
            CHECK(ReadText(HKEY_CLASSES_ROOT, L"Paint.Picture\\DefaultIcon", L"") ==
                  m.system + L"\\Mspaint.exe,1");
            CHECK_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, L".bmp\\ShellNew"));
        }
        SUBCASE("AutoApply leaves the setting out, so the bitmap's own icon stays") {
            s.Settings.SetImage(L"Bitmap Thumbnail as Default Icon", SettingImage::On);
            s.AutoApply = true;
            ApplyChanges(s, f.system, f.prompts);
            CHECK(ReadText(HKEY_CLASSES_ROOT, L"Paint.Picture\\DefaultIcon", L"") == star + L",0");
        }
    }

    SUBCASE("a bitmap class of its own keeps the bitmap's icon whatever the thumbnail setting says") {
        RawSetString(HKEY_CLASSES_ROOT, L".bmp", L"", L"bmpfile");
        Session& s = f.Load({false, false, L"Error"});
        s.Lists[IconCategory::Apps].Change(L"Bitmap Image", L"", star + L",0");
        s.Settings.SetImage(L"Bitmap Thumbnail as Default Icon", SettingImage::On);
        ApplyChanges(s, f.system, f.prompts);
        CHECK(ReadText(HKEY_CLASSES_ROOT, L"bmpfile\\DefaultIcon", L"") == star + L",0");
        CHECK(ReadText(HKEY_CLASSES_ROOT, L"Paint.Picture\\DefaultIcon", L"") == L"%1");
        // The class mapping read at start stays in use; the thumbnail setting rewrote it for the next start.
        CHECK(ReadText(HKEY_CLASSES_ROOT, L".bmp", L"") == L"Paint.Picture");
    }

    SUBCASE("two file types of one class: the later in Apply's order wins, not the later on the tab") {
        RawSetString(HKEY_CLASSES_ROOT, L".txt", L"", L"shared");
        RawSetString(HKEY_CLASSES_ROOT, L".jpeg", L"", L"shared");
        Session& s = f.Load({false, false, L"Error"});
        s.Lists[IconCategory::Apps].Change(L"Text Document", L"", star + L",0");
        s.Lists[IconCategory::Apps].Change(L"JPEG Image", L"", moon + L",0");
        ApplyChanges(s, f.system, f.prompts);
        CHECK(ReadText(HKEY_CLASSES_ROOT, L"shared\\DefaultIcon", L"") == moon + L",0");
    }

    SUBCASE("a file type without a class writes nothing, not even under a class named by nothing") {
        RawSetString(HKEY_CLASSES_ROOT, L".gif", L"", L"");
        RawSetString(HKEY_CLASSES_ROOT, L".wav", L"", L"soundrec");
        Session& s = f.Load({false, false, L"Error"});
        REQUIRE_FALSE(s.Lists[IconCategory::Apps].Find(L"GIF Image"));
        ApplyChanges(s, f.system, f.prompts);
        CHECK_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, L"DefaultIcon"));
        CHECK(ReadText(HKEY_CLASSES_ROOT, L"soundrec\\DefaultIcon", L"") == m.system + L"\\quartz.dll,4");
    }

    SUBCASE("Url History") {
        SUBCASE("not registered: neither its icon nor its name is written, and no key is made for it") {
            Session& s = f.Load({true, true, L"4.72.3110.8"});
            ApplyChanges(s, f.system, f.prompts);
            CHECK_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, UrlHistory));
        }
        SUBCASE("registered: icon and name are written back") {
            RawSetString(HKEY_CLASSES_ROOT, UrlHistory, L"", L"");
            Session& s = f.Load({false, false, L"Error"});
            ApplyChanges(s, f.system, f.prompts);
            CHECK(ReadText(HKEY_CLASSES_ROOT, UrlHistory, L"") == L"Url History");
            CHECK(ReadText(HKEY_CLASSES_ROOT, UrlHistory + L"\\DefaultIcon", L"") ==
                  m.system + L"\\shdocvw.dll,36");
        }
    }

    SUBCASE("names go to the object's key, icons to its DefaultIcon key") {
        Session& s = f.Load({false, false, L"Error"});
        IconListModel& desktop = s.Lists[IconCategory::Desktop];
        desktop.Change(L"My Computer", L"Workstation", star + L",0");
        desktop.Change(L"Recycle Bin (empty)", L"Bin (empty)", L"");
        desktop.Change(L"Recycle Bin (full)", L"Bin (full)", L"");
        ApplyChanges(s, f.system, f.prompts);
        CHECK(ReadText(HKEY_CLASSES_ROOT, MyComputer, L"") == L"Workstation");
        CHECK(ReadText(HKEY_CLASSES_ROOT, MyComputer + L"\\DefaultIcon", L"") == star + L",0");
        CHECK(ReadText(HKEY_CLASSES_ROOT, L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}", L"") == L"Bin");
    }
}

TEST_CASE("the Recycle Bin keeps showing the icon for the state it is in") {
    SessionFixture f;
    const TempMachine& m = f.machine;
    const std::wstring emptyBin = m.Write(m.app, L"empty.ico", IconFileBytes(IconFileKind::Icon));
    const std::wstring fullBin = m.Write(m.app, L"full.ico", IconFileBytes(IconFileKind::Icon));
    const std::wstring newEmpty = m.Write(m.app, L"new-empty.ico", IconFileBytes(IconFileKind::Icon));
    const std::wstring newFull = m.Write(m.app, L"new-full.ico", IconFileBytes(IconFileKind::Icon));
    RawSetString(HKEY_CLASSES_ROOT, Bin, L"Empty", emptyBin + L",0");
    RawSetString(HKEY_CLASSES_ROOT, Bin, L"Full", fullBin + L",0");

    auto apply = [&](const std::wstring& emptyIcon, const std::wstring& fullIcon) {
        Session& s = f.Load({false, false, L"Error"});
        s.Lists[IconCategory::Desktop].Change(L"Recycle Bin (empty)", L"", emptyIcon + L",0");
        s.Lists[IconCategory::Desktop].Change(L"Recycle Bin (full)", L"", fullIcon + L",0");
        ApplyChanges(s, f.system, f.prompts);
    };

    SUBCASE("empty now: the default value becomes the new empty-bin icon") {
        RawSetString(HKEY_CLASSES_ROOT, Bin, L"", emptyBin + L",0");
        apply(emptyBin, newFull);
        CHECK(ReadText(HKEY_CLASSES_ROOT, Bin, L"") == emptyBin + L",0");
        CHECK(ReadText(HKEY_CLASSES_ROOT, Bin, L"Full") == newFull + L",0");
    }
    SUBCASE("empty now, compared without regard to letter case") {
        std::wstring upper = emptyBin + L",0";
        CharUpperW(upper.data());
        RawSetString(HKEY_CLASSES_ROOT, Bin, L"", upper);
        apply(emptyBin, newFull);
        CHECK(ReadText(HKEY_CLASSES_ROOT, Bin, L"") == emptyBin + L",0");
    }
    SUBCASE("full now: the default value becomes the new full-bin icon") {
        RawSetString(HKEY_CLASSES_ROOT, Bin, L"", fullBin + L",0");
        apply(newEmpty, newFull);
        CHECK(ReadText(HKEY_CLASSES_ROOT, Bin, L"") == newFull + L",0");
        CHECK(ReadText(HKEY_CLASSES_ROOT, Bin, L"Empty") == newEmpty + L",0");
    }
    SUBCASE("empty now and the empty-bin icon itself changed: still the empty icon, the new one") {
        RawSetString(HKEY_CLASSES_ROOT, Bin, L"", emptyBin + L",0");
        apply(newEmpty, newFull);
        CHECK(ReadText(HKEY_CLASSES_ROOT, Bin, L"") == newEmpty + L",0");
        CHECK(ReadText(HKEY_CLASSES_ROOT, Bin, L"Empty") == newEmpty + L",0");
    }
}

TEST_CASE("the system calls Apply makes, in order") {
    SessionFixture f;
    LivedIn livedIn(f.machine);

    SUBCASE("Windows NT, every toggle on, numbers edited, icons changed") {
        Session& s = f.Load({true, true, L"4.72.3110.8"});
        SetEveryToggle(s, true);
        EditEverything(s);
        ApplyChanges(s, f.system, f.prompts);
        CHECK(f.system.calls == std::vector<std::wstring>{
                                    L"BUSY",
                                    L"SPI 2 1 - 0",      // beep
                                    L"SPI 73 8 {8,1} 3", // window animation, with its record
                                    L"SPI 26 1 - 0",     // icon title wrap
                                    L"SPI 33 1 - 0",     // swap buttons
                                    L"SPI 30 7 - 0",     // double-click height
                                    L"SPI 29 6 - 0",     // double-click width
                                    L"SPI 32 650 - 0",   // double-click time
                                    L"SPI 77 5 - 0",     // drag height
                                    L"SPI 76 3 - 0",     // drag width
                                    L"SPI 75 2 - 0",     // font smoothing, Windows NT
                                    L"SPI 37 1 - 0",     // full window dragging
                                    L"SPI 20 0 \"C:\\WINDOWS\\Clouds.bmp\" 3",
                                    L"SPI 87 0 - 0", // pointers, once
                                    L"BROADCAST 46",
                                    L"BROADCAST 46",
                                    L"ASSOCCHANGED",
                                    L"IDLE",
                                });
        CHECK_FALSE(s.IconCacheDirty);
        CHECK_FALSE(s.HasUnappliedChanges());
    }
    SUBCASE("Windows 95, every toggle off, nothing edited: no rebuild") {
        Session& s = f.Load({false, true, L"Error"});
        SetEveryToggle(s, false);
        ApplyChanges(s, f.system, f.prompts);
        CHECK(f.system.calls == std::vector<std::wstring>{
                                    L"BUSY",
                                    L"SPI 2 0 - 0",
                                    L"SPI 73 8 {8,0} 3",
                                    L"SPI 26 0 - 0",
                                    L"SPI 33 0 - 0",
                                    L"SPI 30 4 - 0",
                                    L"SPI 29 4 - 0",
                                    L"SPI 32 500 - 0",
                                    L"SPI 77 2 - 0",
                                    L"SPI 76 2 - 0",
                                    L"SPI 75 0 - 0",
                                    L"SPI 37 0 - 0",
                                    L"SPI 20 0 \"C:\\WINDOWS\\Clouds.bmp\" 3",
                                    L"SPI 87 0 - 0",
                                    L"IDLE",
                                });
        CHECK(f.prompts.shown.empty());
    }
    SUBCASE("font smoothing on Windows 95 passes 1") {
        Session& s = f.Load({false, true, L"Error"});
        s.Settings.SetImage(L"Font Smoothing", SettingImage::On);
        ApplyChanges(s, f.system, f.prompts);
        CHECK(std::count(f.system.calls.begin(), f.system.calls.end(), L"SPI 75 1 - 0") == 1);
    }
    SUBCASE("AutoApply: only the pointer reload and the rebuild") {
        Session& s = f.Load({true, true, L"4.72.3110.8"});
        EditEverything(s);
        s.AutoApply = true;
        ApplyChanges(s, f.system, f.prompts);
        CHECK(f.system.calls == std::vector<std::wstring>{L"BUSY", L"SPI 87 0 - 0", L"BROADCAST 46",
                                                          L"BROADCAST 46", L"ASSOCCHANGED", L"IDLE"});
    }
    SUBCASE("a second Apply without edits rebuilds only the first time and stores the same") {
        Session& s = f.Load({true, true, L"4.72.3110.8"});
        EditEverything(s);
        ApplyChanges(s, f.system, f.prompts);
        const std::wstring first = DumpRegistry();
        const auto firstCalls = f.system.calls;
        f.system.calls.clear();
        ApplyChanges(s, f.system, f.prompts);
        CHECK(DumpRegistry() == first);
        CHECK(std::count(firstCalls.begin(), firstCalls.end(), L"BROADCAST 46") == 2);
        CHECK(std::count(f.system.calls.begin(), f.system.calls.end(), L"BROADCAST 46") == 0);
        CHECK(f.system.calls.size() == firstCalls.size() - 3);
        CHECK(f.prompts.shown.size() == 1); // the rebuild notice, once
    }
    SUBCASE("the rebuild notice comes before the restart question, and the Apply button goes off last") {
        Session& s = f.Load({true, true, L"Error"});
        std::vector<bool> unapplied;
        s.UnappliedChanged = [&](bool value) { unapplied.push_back(value); };
        s.MarkChanged();
        s.IconCacheDirty = true;
        s.RestartNeeded = true;
        f.prompts.Answer(1);
        f.prompts.Answer(0);
        ApplyChanges(s, f.system, f.prompts);
        REQUIRE(f.prompts.shown.size() == 2);
        CHECK(f.prompts.shown[0].message.starts_with(L"Tessaly has notified Windows NT of your changes."));
        CHECK(f.prompts.shown[1].message.starts_with(L"You will need to restart your computer"));
        CHECK(s.RestartDeclined);
        CHECK_FALSE(s.RestartNeeded);
        CHECK(unapplied == std::vector<bool>{true, false});
    }
}

TEST_CASE("details of what Apply stores and passes on") {
    SessionFixture f;

    SUBCASE("without a stored wallpaper the wallpaper call gets the empty text, never the read sentinel") {
        Session& s = f.Load({false, false, L"Error"});
        ApplyChanges(s, f.system, f.prompts);
        CHECK(std::count(f.system.calls.begin(), f.system.calls.end(), L"SPI 20 0 \"\" 3") == 1);
        CHECK(RawGetValue(HKEY_CURRENT_USER, Desktop, L"Wallpaper").exists == false);
    }

    SUBCASE("the My Computer verb runs the program file itself") {
        StartupFacts facts = MachineFacts(f.machine, {true, false, L"Error"});
        const std::wstring myComputerCommand = MyComputer + L"\\Shell\\TS\\Command";
        SUBCASE("a path with a space is quoted") {
            facts.OwnExePath = f.machine.app + L"\\My Tools\\tessaly2.exe";
            Session& s = f.Load(facts);
            s.Settings.SetImage(L"My Computer", SettingImage::On);
            ApplyChanges(s, f.system, f.prompts);
            CHECK(ReadText(HKEY_CLASSES_ROOT, myComputerCommand, L"") == L"\"" + facts.OwnExePath + L"\"");
        }
        SUBCASE("a path without one is stored as it is") {
            facts.OwnExePath = f.machine.app + L"\\tessaly2.exe";
            Session& s = f.Load(facts);
            s.Settings.SetImage(L"My Computer", SettingImage::On);
            ApplyChanges(s, f.system, f.prompts);
            CHECK(ReadText(HKEY_CLASSES_ROOT, myComputerCommand, L"") == facts.OwnExePath);
            CHECK(IsMyComputerCommand(ReadText(HKEY_CLASSES_ROOT, myComputerCommand, L""), facts.OwnExePath));
        }
        SUBCASE("off removes the verb, Command first") {
            RawSetString(HKEY_CLASSES_ROOT, myComputerCommand, L"", L"C:\\Old\\Tessaly.exe");
            RawSetString(HKEY_CLASSES_ROOT, MyComputer + L"\\Shell\\TS", L"", L"&Tessaly...");
            RawSetString(HKEY_CLASSES_ROOT, MyComputer + L"\\Shell\\open", L"", L"Open");
            Session& s = f.Load(facts);
            s.Settings.SetImage(L"My Computer", SettingImage::Off);
            ApplyChanges(s, f.system, f.prompts);
            CHECK_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, MyComputer + L"\\Shell\\TS"));
            CHECK(RawKeyExists(HKEY_CLASSES_ROOT, MyComputer + L"\\Shell\\open"));
        }
    }

    SUBCASE("a staged number that is no number is written back as it stands, without its system call") {
        RawSetString(HKEY_CURRENT_USER, Desktop, L"DoubleClickHeight", L"tall");
        RawSetString(HKEY_CURRENT_USER, Desktop, L"DragWidth", L"-3");
        Session& s = f.Load({false, false, L"Error"});
        REQUIRE(s.Settings.StagedText(L"Double Click Height") == L"tall");
        ApplyChanges(s, f.system, f.prompts);
        CHECK(ReadText(HKEY_CURRENT_USER, Desktop, L"DoubleClickHeight") == L"tall");
        CHECK(ReadText(HKEY_CURRENT_USER, Desktop, L"DragWidth") == L"-3");
        for (const auto& call : f.system.calls) {
            CHECK_FALSE(call.starts_with(L"SPI 30 ")); // double-click height
            CHECK_FALSE(call.starts_with(L"SPI 76 ")); // drag width: no unsigned number to pass
        }
        CHECK(std::count(f.system.calls.begin(), f.system.calls.end(), L"SPI 29 4 - 0") == 1);
    }

    SUBCASE("the menu delay: 65535 while delayed until clicked, else the staged delay") {
        Session& s = f.Load({false, false, L"Error"});
        s.Settings.SetStagedText(L"Menu Show Delay", L"250");
        SUBCASE("off") {
            ApplyChanges(s, f.system, f.prompts);
            CHECK(ReadText(HKEY_CURRENT_USER, Desktop, L"MenuShowDelay") == L"250");
        }
        SUBCASE("on") {
            s.Settings.SetImage(L"Delay Until Clicked", SettingImage::On);
            ApplyChanges(s, f.system, f.prompts);
            CHECK(ReadText(HKEY_CURRENT_USER, Desktop, L"MenuShowDelay") == L"65535");
        }
    }

    SUBCASE("an empty staged number is neither written nor passed on") {
        Session& s = f.Load({false, false, L"Error"});
        s.Settings.SetStagedText(L"Drag Height", L"");
        s.Settings.SetStagedText(L"Wallpaper Vertical Origin", L"");
        ApplyChanges(s, f.system, f.prompts);
        CHECK_FALSE(RawGetValue(HKEY_CURRENT_USER, Desktop, L"DragHeight").exists);
        CHECK_FALSE(RawGetValue(HKEY_CURRENT_USER, Desktop, L"WallpaperOriginY").exists);
        CHECK(ReadText(HKEY_CURRENT_USER, Desktop, L"WallpaperOriginX") == L"0");
        for (const auto& call : f.system.calls) CHECK_FALSE(call.starts_with(L"SPI 77 "));
    }

    SUBCASE("the pointers are reloaded once, after the last pointer value is stored") {
        // Records what the Cursors key holds at the moment of each reload.
        struct CursorWatch : RecordingSystemPort {
            std::vector<std::map<std::wstring, std::wstring>> seen;
            bool SetSystemParameter(UINT action, UINT uiParam, const SpiParam& pv, UINT winIni) override {
                if (action == SPI_SETCURSORS) {
                    std::map<std::wstring, std::wstring> values;
                    for (const CatalogueEntry& e : CatalogueEntries(IconCategory::Pointers))
                        values[std::wstring(e.where)] =
                            ReadText(HKEY_CURRENT_USER, Cursors, std::wstring(e.where));
                    seen.push_back(values);
                }
                return RecordingSystemPort::SetSystemParameter(action, uiParam, pv, winIni);
            }
        } watch;
        const std::wstring cursor =
            f.machine.Write(f.machine.app, L"arrow.cur", IconFileBytes(IconFileKind::Cursor));
        const std::wstring ani = f.machine.Write(f.machine.app, L"busy.ani", AnimatedCursorBytes());
        RawSetString(HKEY_CURRENT_USER, Cursors, L"Wait", L"C:\\Gone\\busy.ani");
        Session& s = f.Load({false, false, L"Error"});
        s.Lists[IconCategory::Pointers].Change(L"Normal Select", L"", cursor + L",0");
        s.Lists[IconCategory::Pointers].Change(L"Alternate Select", L"", ani + L",0");
        ApplyChanges(s, watch, f.prompts);
        REQUIRE(watch.seen.size() == 1);
        std::map<std::wstring, std::wstring> expected;
        for (const CatalogueEntry& e : CatalogueEntries(IconCategory::Pointers))
            expected[std::wstring(e.where)] = L"";
        expected[L"Arrow"] = cursor;
        expected[L"UpArrow"] = ani;
        CHECK(watch.seen[0] == expected);
        CHECK(watch.calls.back() == L"IDLE");
        CHECK(watch.calls[watch.calls.size() - 2] == L"SPI 87 0 - 0");
    }

    SUBCASE("the policy keys are made by the first Apply, the binary policy with them") {
        Session& s = f.Load({false, false, L"Error"});
        s.Settings.SetImage(L"Save Settings on Exit", SettingImage::Off);
        ApplyChanges(s, f.system, f.prompts);
        const RawValue v = RawGetValue(HKEY_CURRENT_USER,
                                       L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                                       L"NoSaveSettings");
        CHECK(v.type == REG_BINARY);
        CHECK(v.data == std::vector<unsigned char>{1, 0, 0, 0});
    }
}
