// Apply: what it writes and calls, then the icon cache rebuild and the restart offer that end it.
#include "apply/apply.h"
#include "apply/shell_refresh.h"
#include "icons/catalogue.h"
#include "prompts/messages.h"
#include "settings/settings_catalogue.h"
#include "support/leak_check.h"
#include "support/registry_dump.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <algorithm>
#include <atomic>
#include <latch>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

const HKEY HKCR = HKEY_CLASSES_ROOT, HKCU = HKEY_CURRENT_USER;
const std::wstring Desktop = L"Control Panel\\desktop", Cursors = L"Control Panel\\Cursors";
const std::wstring MyComputer = L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
const std::wstring Bin = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
const std::wstring UrlHistory = L"CLSID\\{FF393560-C2A7-11CF-BFF4-444553540000}";

// The registry after Apply on Windows 95 with every toggle off, and what differs on the other machines.
#include "expected/apply_dumps.inc"

// Writes an icon file into the program folder; returns its icon reference.
std::wstring StagedIcon(const TempMachine& m, const wchar_t* name) {
    return m.Write(m.app, name, IconFileBytes(IconFileKind::Icon)) + L",0";
}

// A machine someone has used: a Programs icon, an arrow pointer and a text file icon of their own, a
// renamed My Computer with a verb of an older copy beside another verb, the three menu verbs, a wallpaper,
// and the Recycle Bin showing its empty icon. Switched off, each verb goes, its Command key first: a key
// with subkeys does not delete.
void LiveIn(const TempMachine& m) {
    const std::wstring icon = StagedIcon(m, L"star.ico");
    RawSetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons",
                 L"19", icon);
    RawSetString(HKCU, Cursors, L"Arrow", m.Write(m.app, L"hand.cur", IconFileBytes(IconFileKind::Cursor)));
    RawSetString(HKCR, L".bmp", L"", L"Paint.Picture");
    RawSetString(HKCR, L".txt", L"", L"txtfile");
    RawSetString(HKCR, L"txtfile\\DefaultIcon", L"", icon);
    RawSetString(HKCR, MyComputer, L"", L"Workstation");
    RawSetString(HKCR, MyComputer + L"\\Shell\\TS\\Command", L"", L"C:\\Old\\Tessaly.exe");
    RawSetString(HKCR, MyComputer + L"\\Shell\\open", L"", L"Open");
    for (const wchar_t* verb :
         {L"Folder\\Shell\\RootExplore", L"Directory\\Shell\\DosHere", L"*\\Shell\\Notepad"})
        RawSetString(HKCR, verb + std::wstring(L"\\Command"), L"", L"OLD.EXE");
    RawSetString(HKCR, Bin, L"", m.system + L"\\shell32.dll,31");
    RawSetString(HKCR, Bin, L"Empty", m.system + L"\\shell32.dll,31");
    RawSetString(HKCR, Bin, L"Full", m.system + L"\\shell32.dll,32");
    RawSetString(HKCU, Desktop, L"Wallpaper", L"C:\\WINDOWS\\Clouds.bmp");
}

// What a user who went through the numbers, the folder verb and the tabs leaves staged.
void EditEverything(Session& s) {
    // clang-format off
    for (auto [key, text] : {std::pair{L"Double Click Width", L"6"}, {L"Double Click Height", L"7"},
                             {L"Double Click Speed", L"650"}, {L"Drag Width", L"3"}, {L"Drag Height", L"5"},
                             {L"Menu Show Delay", L"250"}, {L"Wallpaper Horizontal Origin", L"10"},
                             {L"Wallpaper Vertical Origin", L"20"}, {L"Default Menu Item", L"Explore"}})
        // clang-format on
        s.Settings.SetStagedText(key, text);
    s.SelectedTab = 5;
    s.CurrentThemePath = L"C:\\Themes\\Sun.tstheme";
    s.IconCacheDirty = true;
}

// Notes how many values the Cursors key holds at each pointer reload.
struct CursorWatch : RecordingSystemPort {
    std::vector<size_t> seen;
    bool SetSystemParameter(UINT action, UINT uiParam, const SpiParam& pv, UINT winIni) override {
        if (action == SPI_SETCURSORS)
            for (const RegistryKeyRecord& key : ListRegistry())
                if (key.subkey == Cursors) seen.push_back(key.values.size());
        return RecordingSystemPort::SetSystemParameter(action, uiParam, pv, winIni);
    }
};

void CheckDump(const SessionFixture& f, const char* name, const char* patch) {
    const std::wstring dump = PatchDump(DumpRegistry(f.machine.root), L""),
                       want = PatchDump(text::Widen(Win95Off), text::Widen(patch));
    CHECK(dump == want);
    if (dump != want) WriteActual(text::Widen(name) + L".actual", dump);
}

// SPI 2 beep, 73 window animation, 26 icon title wrap, 33 swap buttons, 30 and 29 double-click height and
// width, 32 double-click time, 77 and 76 drag height and width, 75 font smoothing, 37 full window dragging,
// 20 wallpaper, 87 pointers.
const std::wstring OffCalls =
    L"BUSY|SPI 2 0 - 0|SPI 73 8 {8,0} 3|SPI 26 0 - 0|SPI 33 0 - 0|SPI 30 4 - 0|"
    L"SPI 29 4 - 0|SPI 32 500 - 0|SPI 77 2 - 0|SPI 76 2 - 0|SPI 75 0 - 0|SPI 37 0 - 0|"
    L"SPI 20 0 \"C:\\WINDOWS\\Clouds.bmp\" 3|SPI 87 0 - 0|IDLE";
const std::wstring Rebuild = L"|BROADCAST 46|BROADCAST 46|ASSOCCHANGED";
// Font smoothing on is 1 on Windows 95, 2 on Windows NT.
// clang-format off
std::wstring OnCalls(const wchar_t* smoothing) {
    return L"BUSY|SPI 2 1 - 0|SPI 73 8 {8,1} 3|SPI 26 1 - 0|SPI 33 1 - 0|SPI 30 7 - 0|SPI 29 6 - 0|"
           L"SPI 32 650 - 0|SPI 77 5 - 0|SPI 76 3 - 0|SPI 75 " + std::wstring(smoothing) +
           L" - 0|SPI 37 1 - 0|SPI 20 0 \"C:\\WINDOWS\\Clouds.bmp\" 3|SPI 87 0 - 0" + Rebuild + L"|IDLE";
}
// clang-format on

const std::wstring Metrics = L"Control Panel\\desktop\\WindowMetrics";

std::wstring StoredSize() {
    return RawText(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size");
}

// Notes the stored icon size each time the change is announced.
struct SizeWatch : RecordingSystemPort {
    Strings sizes;
    void BroadcastSettingChange(WPARAM wParam, const std::wstring& section) override {
        sizes.push_back(StoredSize());
        RecordingSystemPort::BroadcastSettingChange(wParam, section);
    }
};

} // namespace

TEST_CASE("Apply's registry and system calls, and a second Apply without edits") {
    // `on`: every toggle on and everything edited; else every toggle off and nothing edited.
    const std::wstring autoCalls = L"BUSY|SPI 87 0 - 0" + Rebuild + L"|IDLE";
    struct Row {
        const char* name;
        MachineKind kind;
        bool on, autoApply, urlHistory;
        const char* dump;
        std::wstring calls;
    } rows[] = {
        {"apply_win95_off", {false, false, L"Error"}, false, false, false, "", OffCalls},
        {"apply_win95_on", {false, true, L"4.71.1712.6"}, true, false, false, Win95On, OnCalls(L"1")},
        {"apply_winnt_on", {true, true, L"4.72.3110.8"}, true, false, true, WinNTOn, OnCalls(L"2")},
        {"apply_winnt_off", {true, false, L"5.00.2014"}, false, false, false, WinNTOff, OffCalls},
        // Icons, names, pointers and the current theme only.
        {"apply_winnt_autoapply", {true, true, L"4.72.3110.8"}, true, true, false, WinNTAutoApply, autoCalls},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        SessionFixture f;
        CursorWatch system;
        LiveIn(f.machine);
        if (row.urlHistory) RawSetString(HKCR, UrlHistory, L"", L"History");
        const HandleCounts handles = LiveHandleCounts();
        Session& s = f.Load(row.kind);
        SetEveryToggle(s, row.on);
        if (row.on) EditEverything(s);
        s.AutoApply = row.autoApply;
        ApplyChanges(s, system, f.prompts);
        CheckDump(f, row.name, row.dump);
        CHECK(Calls(system) == row.calls);
        CHECK(RawKeyExists(HKCR, UrlHistory) == row.urlHistory);
        CHECK_FALSE(s.IconCacheDirty);

        system.calls.clear();
        ApplyChanges(s, system, f.prompts);
        CheckDump(f, row.name, row.dump);
        std::wstring again = row.calls;
        if (size_t at = again.find(Rebuild); at != again.npos) again.erase(at, Rebuild.size());
        CHECK(Calls(system) == again);
        CHECK(system.seen == std::vector<size_t>{14, 14});   // one reload each, after the last pointer value
        CHECK(f.prompts.shown.size() == (row.on ? 1u : 0u)); // the rebuild notice, the first time only
        CHECK(LiveHandleCounts() == handles);
    }
}

TEST_CASE("file types are written in their own order, not the tab's") {
    SessionFixture f;
    for (const CatalogueEntry& entry : CatalogueEntries(IconCategory::Apps))
        if (entry.kind == LocationKind::FileType)
            RawSetString(HKCR, std::wstring(entry.where), L"", L"class " + std::wstring(entry.key));
    Session& s = f.Load({true, true});
    std::map<std::wstring, std::wstring> entryAt;
    for (const CatalogueEntry& entry : CatalogueEntries(IconCategory::Apps))
        if (auto at = LocateCatalogueEntry(s.Facts, s.Variants, IconCategory::Apps, entry.key))
            entryAt[L"WriteString " + at->iconKey + L"|" + at->iconValue] = entry.key;
    static std::vector<std::wstring> writes; // the registry layer's writes, in the order made
    Registry::SetWriteWatcher(
        [](std::wstring_view operation, const std::wstring& path, const std::wstring& name) {
            writes.push_back(std::wstring(operation) + L" " + path + L"|" + name);
        });
    ApplyChanges(s, f.system, f.prompts);
    Registry::SetWriteWatcher(nullptr);
    std::wstring order;
    for (const std::wstring& write : writes)
        if (auto it = entryAt.find(write); it != entryAt.end()) order += it->second + L"|";
    CHECK(order == L"Bitmap Image|Configuration Settings|Default Icon|Default Document|GIF Image|"
                   L"Internet Document|Media Clip|MS-DOS Application|MS-DOS Batch File|MIDI Sequence|"
                   L"Text Document|Video Clip|Wave Sound|Write Document|JPEG Image|Movie Clip|"
                   L"Rich Text Format|Zip File|");
}

TEST_CASE("the bitmap thumbnail setting comes after \"Bitmap Image\" and decides its class's icon") {
    enum Expect { Thumbnail, Paint, Staged };
    // AutoApply leaves the setting out. A bitmap class of its own stays in use until the next start.
    for (auto [bmpClass, thumbnail, autoApply, expect] :
         {std::tuple{L"Paint.Picture", SettingImage::On, false, Thumbnail},
          {L"Paint.Picture", SettingImage::Off, false, Paint},
          {L"Paint.Picture", SettingImage::On, true, Staged},
          {L"bmpfile", SettingImage::On, false, Staged}}) {
        SessionFixture f;
        const std::wstring star = StagedIcon(f.machine, L"star.ico");
        RawSetString(HKCR, L".bmp", L"", bmpClass);
        Session& s = f.Load({true, true});
        s.Lists[IconCategory::Apps].Change(L"Bitmap Image", L"", star);
        s.Settings.SetImage(L"Bitmap Thumbnail as Default Icon", thumbnail);
        s.AutoApply = autoApply;
        ApplyChanges(s, f.system, f.prompts);
        const std::wstring expected[] = {L"%1", f.machine.system + L"\\Mspaint.exe,1", star};
        CHECK(RawText(HKCR, bmpClass + std::wstring(L"\\DefaultIcon"), L"") == expected[expect]);
        CHECK(RawText(HKCR, L".bmp", L"") == L"Paint.Picture");
    }
}

TEST_CASE("the Recycle Bin keeps showing the icon for the state it is in") {
    // Before Apply "Empty" is empty.ico and "Full" full.ico; Apply stages `staged` and a new full icon.
    // The bin's state is compared with "Empty" as it stood before Apply wrote the new one.
    for (auto [name, shown, upperCase, staged, expected] :
         {std::tuple{"empty", L"empty.ico", false, L"empty.ico", L"empty.ico"},
          {"empty, letter case aside", L"empty.ico", true, L"empty.ico", L"empty.ico"},
          {"full", L"full.ico", false, L"new-empty.ico", L"new-full.ico"},
          {"empty, and its icon changed", L"empty.ico", false, L"new-empty.ico", L"new-empty.ico"}}) {
        CAPTURE(name);
        SessionFixture f;
        const TempMachine& m = f.machine;
        RawSetString(HKCR, Bin, L"Empty", StagedIcon(m, L"empty.ico"));
        RawSetString(HKCR, Bin, L"Full", StagedIcon(m, L"full.ico"));
        std::wstring now = StagedIcon(m, shown);
        if (upperCase) CharUpperW(now.data());
        RawSetString(HKCR, Bin, L"", now);
        Session& s = f.Load({});
        s.Lists[IconCategory::Desktop].Change(L"Recycle Bin (empty)", L"Bin (empty)", StagedIcon(m, staged));
        s.Lists[IconCategory::Desktop].Change(L"Recycle Bin (full)", L"Bin (full)",
                                              StagedIcon(m, L"new-full.ico"));
        ApplyChanges(s, f.system, f.prompts);
        // Its name, from the caption.
        CHECK(RawText(HKCR, L"CLSID\\" + std::wstring(RecycleBinClsid), L"") == L"Bin");
        CHECK(RawText(HKCR, Bin, L"") == StagedIcon(m, expected));
        CHECK(RawText(HKCR, Bin, L"Empty") == StagedIcon(m, staged));
        CHECK(RawText(HKCR, Bin, L"Full") == StagedIcon(m, L"new-full.ico"));
    }
}

TEST_CASE("what Apply stores and passes on where care is needed") {
    SessionFixture f;

    SUBCASE("\"Save Settings on Exit\" stored as 01 00 00 00 reads off and stays so") {
        const std::wstring policies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
        const std::vector<unsigned char> one{1, 0, 0, 0};
        RawSetValue(HKCU, policies, L"NoSaveSettings", REG_BINARY, one.data(), 4);
        Session& s = f.Load({});
        CHECK(s.Settings.Image(L"Save Settings on Exit") == SettingImage::Off);
        ApplyChanges(s, f.system, f.prompts);
        CHECK(RawGetValue(HKCU, policies, L"NoSaveSettings").data == one);
    }
    SUBCASE("without a readable wallpaper the wallpaper call gets the empty text, never \"Error\"") {
        ApplyChanges(f.Load({}), f.system, f.prompts);
        CHECK(Calls(f.system).find(L"|SPI 20 0 \"\" 3|") != std::wstring::npos);
        CHECK_FALSE(RawGetValue(HKCU, Desktop, L"Wallpaper").exists);
    }
    SUBCASE("the My Computer verb runs the program file itself, quoted as its path holds a space") {
        StartupFacts facts = MachineFacts(f.machine, {true});
        facts.OwnExePath = f.machine.app + L"\\My Tools\\tessaly2.exe";
        Session& s = f.LoadFacts(facts);
        s.Settings.SetImage(L"My Computer", SettingImage::On);
        ApplyChanges(s, f.system, f.prompts);
        const std::wstring stored = RawText(HKCR, MyComputer + L"\\Shell\\TS\\Command", L"");
        CHECK(stored == L"\"" + facts.OwnExePath + L"\"");
        CHECK(IsMyComputerCommand(stored, facts.OwnExePath));
    }
    SUBCASE("a staged number that is no number is stored without its call, an empty one not at all") {
        RawSetString(HKCU, Desktop, L"DoubleClickHeight", L"tall");
        RawSetString(HKCU, Desktop, L"DragWidth", L"-3");
        Session& s = f.Load({});
        s.Settings.SetStagedText(L"Drag Height", L"");
        s.Settings.SetStagedText(L"Menu Show Delay", L"250"); // not delayed until clicked: as staged
        ApplyChanges(s, f.system, f.prompts);
        CHECK(RawText(HKCU, Desktop, L"MenuShowDelay") == L"250");
        CHECK(RawText(HKCU, Desktop, L"DoubleClickHeight") == L"tall");
        CHECK(RawText(HKCU, Desktop, L"DragWidth") == L"-3");
        CHECK_FALSE(RawGetValue(HKCU, Desktop, L"DragHeight").exists);
        // Double-click height, drag width (no unsigned number to pass) and drag height go without a call.
        const std::wstring calls = Calls(f.system);
        for (const wchar_t* skipped : {L"|SPI 30 ", L"|SPI 76 ", L"|SPI 77 "})
            CHECK(calls.find(skipped) == calls.npos);
        CHECK(calls.find(L"|SPI 29 4 - 0|") != calls.npos);
    }
    SUBCASE("the rebuild notice comes before the restart question, and the Apply button goes off last") {
        Session& s = f.Load({true});
        std::vector<bool> unapplied;
        s.UnappliedChanged = [&](bool value) { unapplied.push_back(value); };
        s.MarkChanged();
        s.IconCacheDirty = s.RestartNeeded = true;
        f.prompts.Answer(1);
        f.prompts.Answer(0);
        ApplyChanges(s, f.system, f.prompts);
        REQUIRE(f.prompts.shown.size() == 2);
        CHECK(f.prompts.shown[0].message ==
              MessageOf([](PromptPort& p) { Messages::ShowRebuildNotice(p, L"Windows NT"); }));
        CHECK(f.prompts.shown[1].message ==
              MessageOf(Messages::AskRestart)); // its answers: the restart offer
        CHECK(unapplied == std::vector<bool>{true, false});
    }
}

TEST_CASE("rebuilding the icon cache: the size nudged and put back, two announcements, then the notice") {
    // A stored size that is missing (nullptr), empty, no whole number or beyond 16 bits counts as 32. When
    // the notice stays away is the prompt tests' matter.
    for (auto [size, nudged, after] : {std::tuple{L"48", L"49", L"48"},
                                       {nullptr, L"33", L"32"},
                                       {L"", L"33", L"32"},
                                       {L"large", L"33", L"32"},
                                       {L"70000", L"33", L"32"}}) {
        CAPTURE(size ? size : L"<missing>");
        SessionFixture f;
        SizeWatch port;
        if (size) RawSetString(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size", size);
        Session& s = f.Load({});
        s.IconCacheDirty = true;
        RebuildIconCache(s, port, f.prompts);
        CHECK(port.sizes == Strings{nudged, after});
        CHECK(StoredSize() == after);
        CHECK(Calls(port) == L"BROADCAST 46|BROADCAST 46|ASSOCCHANGED");
        CHECK_FALSE(s.IconCacheDirty);
        const auto notice = MessageOf([](PromptPort& p) { Messages::ShowRebuildNotice(p, L"Windows 95"); });
        CHECK(f.prompts.ShownMessages() == Strings{notice});
    }
}

TEST_CASE("the restart offer") {
    for (auto [name, nt, answer, declinedBefore, calls, declinedAfter] :
         {std::tuple{"Yes on Windows NT: the shutdown privilege, then the reboot", true, 1, false,
                     L"PRIVILEGE|EXIT 2", false},
          {"Yes on Windows 95: the reboot alone", false, 1, false, L"EXIT 2", false},
          {"No: the user declined", true, 0, false, L"", true},
          {"closed: nothing happens", true, PromptResult::Closed, false, L"", false},
          {"closed: the earlier answer stands", false, PromptResult::Closed, true, L"", true}}) {
        CAPTURE(name);
        SessionFixture f;
        Session& s = f.Load({nt});
        s.RestartNeeded = true;
        s.RestartDeclined = declinedBefore;
        f.prompts.Answer(answer);
        AskRestart(s, f.system, f.prompts);
        CHECK(f.prompts.ShownMessages() == Strings{MessageOf(Messages::AskRestart)});
        CHECK(Calls(f.system) == calls);
        CHECK(s.RestartDeclined == declinedAfter);
        CHECK_FALSE(s.RestartNeeded);
    }
}

TEST_CASE("the real announcement reaches an answering window and does not wait for a hung one") {
    static std::atomic<int> heard = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_SETTINGCHANGE && wParam == SPI_SETICONMETRICS) ++heard;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TessalyBroadcastListener";
    RegisterClassW(&wc);
    auto listener = [&] {
        return CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
    };
    // The answering window is this thread's, so the broadcast reaches it directly; the hung one's thread
    // looks at no message until it is released.
    const HWND answering = listener();
    std::latch ready(1), release(1);
    std::thread hung([&] {
        const HWND window = listener();
        ready.count_down();
        release.wait();
        DestroyWindow(window);
    });
    ready.wait();
    RealSystemPort().BroadcastSettingChange(SPI_SETICONMETRICS, {});
    CHECK(heard == 1);
    release.count_down();
    hung.join();
    DestroyWindow(answering);
}
