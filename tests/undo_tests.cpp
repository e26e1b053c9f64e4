#include "apply/apply.h"
#include "registry/reg_file.h"
#include "registry/write_recorder.h"
#include "settings/settings_catalogue.h"
#include "support/registry_dump.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"

#include <sddl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const HKEY HKCR = HKEY_CLASSES_ROOT, HKCU = HKEY_CURRENT_USER, HKLM = HKEY_LOCAL_MACHINE;
const std::wstring ShellIcons = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
const std::wstring Policies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::wstring MyComputer = L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

template <size_t N>
void RawSetBytes(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
                 const char (&bytes)[N]) {
    RawSetValue(root, key, name, type, bytes, N - 1);
}

// A machine with values of every shape Apply overwrites or deletes: texts without their zero, texts of
// other types, a multi-string, binary data, verbs with values of their own, a deleted-then-kept link.
void UsedMachine(const TempMachine& m) {
    const std::wstring icon = m.Write(m.app, L"star.ico", IconFileBytes(IconFileKind::Icon)) + L",0";
    RawSetString(HKLM, ShellIcons, L"19", icon);
    RawSetValue(HKCU, L"Control Panel\\Cursors", L"Arrow", REG_SZ, L"C:\\x.cur", 16); // no terminating zero
    RawSetBytes(HKCU, L"Control Panel\\Sound", L"Beep", REG_MULTI_SZ, "Y\0e\0s\0\0\0x\0\0\0\0\0");
    RawSetBytes(HKCU, L"Control Panel\\desktop", L"MenuShowDelay", REG_EXPAND_SZ, "4\0\x30\0\x30\0\0\0");
    RawSetBytes(HKCU, L"Control Panel\\desktop", L"SmoothScroll", REG_BINARY, "\x01\0\0\0");
    RawSetBytes(HKCU, Policies, L"NoSaveSettings", REG_BINARY, "\x01\0\0\0\x07");
    RawSetBytes(HKCU, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"link", REG_BINARY,
                "\0\0\0\0");
    RawSetString(HKCR, L"Folder\\Shell\\RootExplore", L"", L"Explore from here");
    RawSetString(HKCR, L"Folder\\Shell\\RootExplore", L"Extended", L"");
    RawSetString(HKCR, L"Folder\\Shell\\RootExplore\\Command", L"", L"EXPLORER.EXE /E,/Root,/IDList,%I");
    RawSetString(HKCR, L"*\\QuickView", L"", L"*");
    RawSetDword(HKCR, L"*\\QuickView", L"Order", 3);
    RawSetString(HKCR, MyComputer, L"", L"Workstation");
    RawSetString(HKCR, L".txt", L"", L"txtfile");
    RawSetString(HKCR, L".bmp", L"", L"Paint.Picture");
}

struct UndoFixture : SessionFixture {
    std::wstring Record() const { return machine.root + L"\\Korvath\\Tessaly\\Last Apply.reg"; }
    std::vector<RegFile::Section> Sections() const {
        std::vector<RegFile::Section> sections;
        REQUIRE(RegFile::Load(Record(), sections) == RegFile::LoadResult::Loaded);
        return sections;
    }
    // Every value of the record as "key|name" ("key|-" for a key it removes).
    std::vector<std::wstring> Entries() const {
        std::vector<std::wstring> out;
        for (const RegFile::Section& s : Sections()) {
            if (s.remove) out.push_back(s.path + L"|-");
            for (const RegFile::Value& v : s.values) out.push_back(s.path + L"|" + v.name);
        }
        return out;
    }
};

bool Contains(const std::vector<std::wstring>& list, const std::wstring& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Denies every write to one key while it lives; Wine enforces key security as Windows NT does.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY root, const std::wstring& subkey) : root_(root), subkey_(subkey) {
        Set(L"D:(A;;KR;;;WD)");
    }
    ~ReadOnlyKey() { Set(L"D:(A;;KA;;;WD)"); }

private:
    void Set(const wchar_t* access) { // everyone may read, or do anything
        UniqueHKey key;
        REQUIRE(RegCreateKeyExW(root_, subkey_.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, key.put(),
                                nullptr) == ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR sd = nullptr;
        REQUIRE(ConvertStringSecurityDescriptorToSecurityDescriptorW(access, SDDL_REVISION_1, &sd, nullptr));
        CHECK(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS);
        LocalFree(sd);
    }
    HKEY root_;
    std::wstring subkey_;
};

// What the session shows that the registry decides, one line each.
std::wstring Shown(Session& s) {
    std::wstring out;
    for (IconCategory c : IconCategories)
        for (const IconListItem& i : s.Lists[c].Items())
            out += i.Key + L"|" + i.Caption + L"|" + i.IconPath + L"," + std::to_wstring(i.IconIndex) + L"\n";
    LoadFolderVerbIfEmpty(s.Settings);
    for (const SettingNode& n : s.Settings.Nodes())
        out += n.Key + L"|" + std::to_wstring(static_cast<int>(n.Image)) + L"|" +
               s.Settings.StagedText(n.Key) + L"\n";
    for (const SettingRow& row : SettingRows())
        if (auto on = s.Settings.UnlistedToggle(std::wstring(row.Key)))
            out += std::wstring(row.Key) + (*on ? L" on\n" : L" off\n");
    return out + s.CurrentThemePath;
}

} // namespace

TEST_CASE("Undo puts back exactly what a whole Apply changed, in the same session or after a restart") {
    struct Row {
        const char* name;
        MachineKind kind;
        bool on, restart, unapplied = false;
    } rows[] = {
        {"Windows 95, every toggle on, same session", {false, true, L"4.71.1712.6"}, true, false},
        {"Windows NT, every toggle off, after a restart", {true, false, L"4.72.3110.8"}, false, true},
        {"Windows NT, every toggle on, after a restart", {true, true, L"4.72.3110.8"}, true, true},
        {"Windows NT, a change made since and not applied", {true, true, L"4.72.3110.8"}, true, false, true},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.name));
        UndoFixture f;
        UsedMachine(f.machine);
        Session& s = f.Load(row.kind);
        if (row.unapplied) ApplyChanges(s, f.system, f.prompts); // so that the record leaves Favorites out
        const std::wstring before = DumpRegistry();

        SetEveryToggle(s, row.on);
        const std::wstring moon =
            f.machine.Write(f.machine.app, L"moon.ico", IconFileBytes(IconFileKind::Icon)) + L",0";
        s.Lists[IconCategory::Start].Change(L"Programs", L"", moon);
        s.Lists[IconCategory::Pointers].Change(L"Arrow", L"", f.machine.app + L"\\moon.ico");
        s.Settings.SetStagedText(L"Double Click Width", L"9");
        s.CurrentThemePath = L"C:\\Themes\\Sun.tstheme";
        s.IconCacheDirty = true;
        ApplyChanges(s, f.system, f.prompts);
        REQUIRE(LastApplyRecordExists());
        REQUIRE(DumpRegistry() != before);

        if (row.restart) f.LoadFacts(MachineFacts(f.machine, row.kind)); // a new session reads the record
        Session& after = *f.session;
        if (row.unapplied) { // the record does not name it, yet Undo shows what the registry holds again
            after.Lists[IconCategory::Start].Change(L"Favorites", L"", moon);
            after.MarkChanged();
        }
        f.prompts = {};
        f.system.calls.clear();
        f.prompts.Answer(1);
        CHECK(UndoLastApply(after, f.system, f.prompts) == UndoResult::Undone);
        CHECK(DumpRegistry() == before);
        CHECK_FALSE(LastApplyRecordExists());
        REQUIRE_FALSE(f.prompts.shown.empty());
        CHECK(f.prompts.shown[0].message == L"Put back every value that the last Apply changed?");
        CHECK(f.prompts.shown[0].buttons == std::array<std::wstring, 3>{L"Cancel", L"OK", L""});
        CHECK(f.prompts.shown[0].icon == PromptIconQuestion);

        // The session shows the registry again (a fresh one's view of it, Programs, Beep On Errors and the
        // theme included), and the system heard of it as after an Apply.
        CHECK_FALSE(after.HasUnappliedChanges());
        Session fresh(MachineFacts(f.machine, row.kind),
                      FindCatalogueVariants(MachineFacts(f.machine, row.kind)));
        fresh.Load();
        CHECK(Shown(after) == Shown(fresh));
        const std::wstring calls = Calls(f.system);
        CHECK(calls.find(L"SPI 87 0 - 0|BROADCAST 46|BROADCAST 46|ASSOCCHANGED") != calls.npos);
        CHECK(calls.find(L"SPI 2 ") != calls.npos);
    }
}

TEST_CASE("what the record holds") {
    UndoFixture f;
    UsedMachine(f.machine);
    Session& s = f.Load({true, true, L"4.72.3110.8"});

    SUBCASE("keys Apply creates go whole; values it replaces come back with their own type; a value written "
            "as it was is not recorded, and an Apply that changed nothing leaves no record") {
        SetEveryToggle(s, true);
        s.IconCacheDirty = true;
        RawSetDword(HKCU, L"Software\\Korvath\\Tessaly\\2.0\\Settings", L"Splash", 1); // has run before
        f.prompts.Answer(1, true); // the rebuild notice switched off: the user's choice, not Apply's
        ApplyChanges(s, f.system, f.prompts);
        const auto entries = f.Entries();
        CHECK(RawGetValue(HKCU, L"Software\\Korvath\\Tessaly\\2.0\\Settings", L"Dialog Rebuild").exists);
        CHECK_FALSE(Contains(entries,
                             L"HKEY_CURRENT_USER\\Software\\Korvath\\Tessaly\\2.0\\Settings|Dialog Rebuild"));
        CHECK(Contains(entries, L"HKEY_CLASSES_ROOT\\Directory|-")); // the outermost key created
        CHECK_FALSE(Contains(entries, L"HKEY_CLASSES_ROOT\\Directory\\Shell\\DosHere\\Command|"));
        CHECK(Contains(entries, L"HKEY_CURRENT_USER\\Control Panel\\Sound|Beep"));
        CHECK_FALSE(Contains(entries, L"HKEY_CLASSES_ROOT\\*\\QuickView|")); // "*" already
        const std::wstring text = RegFile::Format(f.Sections());
        CHECK(text.starts_with(L"Windows Registry Editor Version 5.00\r\n"));
        CHECK(text.find(L"\"Beep\"=hex(7):59,00,65,00,73,00,00,00,78,00,00,00,00,00\r\n") != text.npos);
        CHECK(text.find(L"\"link\"=hex:00,00,00,00\r\n") != text.npos);

        f.system.calls.clear();
        ApplyChanges(s, f.system, f.prompts);
        CHECK_FALSE(LastApplyRecordExists());
    }
    SUBCASE("keys Apply deletes come back with every value") {
        SetEveryToggle(s, false);
        ApplyChanges(s, f.system, f.prompts);
        const std::wstring text = RegFile::Format(f.Sections());
        CHECK(text.find(L"[-HKEY_CLASSES_ROOT\\*\\QuickView]\r\n\r\n[HKEY_CLASSES_ROOT\\*\\QuickView]\r\n"
                        L"@=\"*\"\r\n\"Order\"=dword:00000003\r\n") != text.npos);
        CHECK(text.find(L"[HKEY_CLASSES_ROOT\\Folder\\Shell\\RootExplore]\r\n@=\"Explore from here\"\r\n"
                        L"\"Extended\"=\"\"\r\n") != text.npos);
    }
    SUBCASE("the file is UTF-16 with its byte-order mark") {
        ApplyChanges(s, f.system, f.prompts);
        std::string head(4, '\0');
        std::ifstream(std::filesystem::path(f.Record()), std::ios::binary).read(head.data(), 4);
        CHECK(head == std::string("\xFF\xFEW\0", 4));
    }
}

TEST_CASE("a record that cannot be read is neither used nor deleted; the same file whole is taken") {
    const std::string end = "\r\n; End of record\r\n";
    const std::string header = "Windows Registry Editor Version 5.00\r\n";
    const std::string good = header + "[HKEY_CURRENT_USER\\x]\r\n\"a\"=dword:00000001\r\n";
    const std::string records[] = {
        good + std::string(9000, ';') + end,                      // the only one taken; 18 KB
        good,                                                     // cut short: no closing line
        header + "[HKEY_CURRENT_USER\\x]\r\n\"a\"=\"b\r\n" + end, // an unclosed text
        "Windows Registry Editor Version 4.00\r\n" + end,
        header + "\"a\"=\"b\"\r\n" + end, // a value outside any key
        header + "[HKEY_NOWHERE\\x]\r\n" + end,
        header + "[HKEY_CURRENT_USER\\x\r\n" + end,
        header + "[HKEY_CURRENT_USER\\x]\r\n\"a\"=hex:0\r\n" + end,
        header + "[HKEY_CURRENT_USER\\x]\r\n\"a\"=dword:1\r\n" + end,
        header + "[HKEY_CURRENT_USER\\x]\r\n\"a\"=hex(2):41,00,\\\r\n" + end,
        header + "[HKEY_CURRENT_USER\\x]\r\n\"a\"=\"b\" x\r\n" + end,
    };
    auto write = [](const std::wstring& path, const std::string& text) {
        std::string wide = "\xFF\xFE";
        for (char c : text) wide += std::string{c, '\0'};
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(std::filesystem::path(path), std::ios::binary).write(wide.data(), wide.size());
    };
    SUBCASE("another program holds the record open for reading: it is read all the same, and stays") {
        UndoFixture f;
        Session& s = f.Load({});
        write(f.Record(), good + end);
        UniqueFile other(CreateFileW(f.Record().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
        f.prompts.Answer(1);
        CHECK(UndoLastApply(s, f.system, f.prompts) == UndoResult::Undone);
        CHECK(RawGetValue(HKCU, L"x", L"a").exists);
        CHECK(LastApplyRecordExists());
    }
    for (const std::string& text : records) {
        CAPTURE(text);
        UndoFixture f;
        Session& s = f.Load({});
        write(f.Record(), text);
        const std::wstring before = DumpRegistry();
        f.prompts.Answer(1);
        const bool taken = &text == records;
        CHECK(UndoLastApply(s, f.system, f.prompts) == (taken ? UndoResult::Undone : UndoResult::Damaged));
        CHECK(RawGetValue(HKCU, L"x", L"a").exists == taken);
        CHECK(LastApplyRecordExists() == !taken);
        if (taken) continue;
        REQUIRE(f.prompts.shown.size() == 1);
        CHECK(f.prompts.shown[0].message == L"The record of the last Apply is damaged and was not used.");
        CHECK(f.prompts.shown[0].buttons == std::array<std::wstring, 3>{L"OK", L"", L""});
        CHECK(DumpRegistry() == before);
    }
}

TEST_CASE("registry files read back as written") {
    auto data = [](DWORD type, std::string bytes) {
        const auto* first = reinterpret_cast<const std::byte*>(bytes.data());
        return Registry::Data{type, Registry::Bytes(first, first + bytes.size())};
    };
    const std::vector<RegFile::Section> sections = {
        {L"HKEY_CURRENT_USER\\A", true, {}},
        {L"HKEY_LOCAL_MACHINE\\B\\C",
         false,
         {{L"", data(REG_SZ, std::string("x\0\\\0\"\0\0\0", 8))},
          {L"quote \" and \\", data(REG_DWORD, "\x78\x56\x34\x12")},
          {L"gone", std::nullopt},
          {L"no zero", data(REG_SZ, std::string("a\0b\0", 4))},
          {L"odd", data(REG_SZ, "abc")},
          {L"line", data(REG_SZ, std::string("a\0\n\0\0\0", 6))},
          {L"expand", data(REG_EXPAND_SZ, std::string("%\0\0\0", 4))},
          {L"multi", data(REG_MULTI_SZ, std::string("a\0\0\0b\0\0\0\0\0", 10))},
          {L"qword", data(REG_QWORD, std::string(8, '\x7f'))},
          {L"short dword", data(REG_DWORD, "\x01")},
          {L"empty", data(REG_BINARY, "")},
          {L"long", data(REG_BINARY, std::string(100, '\xab'))},
          {L"none", data(REG_NONE, "\x01")}}},
    };
    const std::wstring text = RegFile::Format(sections);
    CHECK(text.find(L"@=\"x\\\\\\\"\"\r\n") != text.npos);
    CHECK(text.find(L"\"quote \\\" and \\\\\"=dword:12345678\r\n") != text.npos);
    CHECK(text.find(L"\"qword\"=hex(b):7f,7f,") != text.npos);
    CHECK(text.find(L",\\\r\n  ab,") != text.npos); // long data wraps as the registry editor wraps it
    auto parsed = RegFile::Parse(text);
    REQUIRE(parsed);
    CHECK(*parsed == sections);
}

TEST_CASE("a refused write is reported by name, the rest is done, and the record leaves it out") {
    UndoFixture f;
    UsedMachine(f.machine);
    Session& s = f.Load({true, true, L"4.72.3110.8"});
    SetEveryToggle(s, true);
    SUBCASE("one setting") {
        {
            ReadOnlyKey sound(HKCU, L"Control Panel\\Sound");
            ApplyChanges(s, f.system, f.prompts);
        }
        REQUIRE(f.prompts.shown.size() == 1);
        const Prompt& p = f.prompts.shown.back();
        CHECK(p.message == L"Some changes could not be saved:\n"
                           L"\nBeep On Errors: access denied\nExtended Sounds On Errors: access denied");
        CHECK(p.icon == PromptIconExclamation);
        CHECK(p.buttons == std::array<std::wstring, 3>{L"OK", L"", L""});
        CHECK(RawText(HKCU, L"Control Panel\\desktop", L"CursorBlinkRate") == L"65535");
        const auto entries = f.Entries();
        CHECK_FALSE(Contains(entries, L"HKEY_CURRENT_USER\\Control Panel\\Sound|Beep"));
        CHECK(Contains(entries, L"HKEY_CURRENT_USER\\Control Panel\\desktop|CursorBlinkRate"));
    }
    SUBCASE("a whole key of icons: ten lines, then how many more") {
        {
            ReadOnlyKey icons(HKLM, ShellIcons);
            ApplyChanges(s, f.system, f.prompts);
        }
        const std::wstring message = f.prompts.shown.back().message;
        CHECK(message.starts_with(L"Some changes could not be saved:\n\nPrograms: access denied\n"
                                  L"Favorites: access denied\nDocuments: access denied\n"));
        CHECK(message.ends_with(L"\nShut Down...: access denied\nand 25 more"));
        CHECK(std::count(message.begin(), message.end(), L'\n') == 12);
        CHECK(RawText(HKCU, L"Control Panel\\Sound", L"Beep") == L"Yes");
        for (const std::wstring& entry : f.Entries()) CHECK(entry.find(L"Shell Icons") == entry.npos);
    }
}

TEST_CASE("Tools, Undo Last Apply in the main window") {
    UndoFixture f;
    Session& s = f.Load({true});
    MainWindow main(s, f.system, f.prompts);
    REQUIRE(main.Create());
    const std::wstring before = DumpRegistry();
    SetEveryToggle(s, true);
    SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(IdCmdApply, 0), 0);
    REQUIRE(LastApplyRecordExists());
    f.prompts = {};
    f.prompts.Answer(0); // "Cancel" changes nothing
    SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(IdMenuUndoLastApply, 0), 0);
    CHECK(LastApplyRecordExists());
    f.prompts.Answer(1);
    SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(IdMenuUndoLastApply, 0), 0);
    CHECK(DumpRegistry() == before);
    CHECK_FALSE(LastApplyRecordExists());
    DestroyWindow(main.hwnd());
}

TEST_CASE("the registry layer under a recorder") {
    RegistrySandbox sandbox;
    const std::wstring key = L"HKEY_CURRENT_USER\\K";
    RawSetString(HKCU, L"K", L"kept", L"1");
    RawSetString(HKCU, L"K\\Sub", L"", L"sub");
    const std::wstring before = DumpRegistry();
    Registry::WriteRecorder recorder;

    SUBCASE("deletions and rewrites come back; a key deleted meanwhile is opened afresh") {
        CHECK(Registry::DeleteValue(key, L"kept"));
        CHECK(Registry::WriteString(key + L"\\Sub", L"v", L"x"));
        CHECK(Registry::WriteString(key + L"\\SUB", L"v", L"y")); // the same value, letter case aside
        CHECK(Registry::DeleteValue(key + L"\\Sub", L"v"));
        CHECK(Registry::DeleteKey(key, L"Sub"));
        CHECK(Registry::WriteString(key + L"\\Sub", L"", L"again"));
        CHECK(RawText(HKCU, L"K\\Sub", L"") == L"again");
        CHECK(Registry::WriteDword(key + L"\\New\\Deeper", L"n", 1));
        CHECK(Registry::ReadString(key + L"\\New", L"") == L"Error"); // kept open, for reading only
        const Registry::WriteRecorder inner;                          // which must not write through that key
        CHECK(Registry::WriteString(key + L"\\New", L"", L"a"));
        recorder.DropUnchanged();
        CHECK(RegFile::Import(recorder.UndoSections()));
        CHECK(DumpRegistry() == before);
    }
    SUBCASE("writes say whether they stored anything, and failures carry their subject") {
        {
            ReadOnlyKey locked(HKCU, L"K");
            Registry::WriteSubject subject(L"Locked Setting");
            CHECK_FALSE(Registry::WriteString(key, L"kept", L"2"));
            CHECK_FALSE(Registry::DeleteValue(key, L"kept"));
        }
        CHECK(Registry::DeleteValue(key, L"missing"));
        CHECK(Registry::DeleteKey(key, L"Missing"));
        CHECK(recorder.Empty());
        REQUIRE(recorder.Failures().size() == 2);
        CHECK(recorder.Failures()[0].subject == L"Locked Setting");
        CHECK(recorder.Failures()[0].error == ERROR_ACCESS_DENIED);
        CHECK(recorder.Subject().empty());
        CHECK(DumpRegistry() == before);
    }
}

TEST_CASE("what an import leaves, as far as its sections tell") {
    using Kind = RegFile::Outcome::Kind;
    RegistrySandbox sandbox;
    RawSetDword(HKCU, L"Software\\Classes", L"x", 1); // the machine's Software\Classes stays missing
    const Registry::Data one{REG_DWORD, {std::byte{1}, {}, {}, {}}};
    const std::vector<RegFile::Section> sections = {
        {L"HKEY_CURRENT_USER\\Gone", true, {}},
        {L"HKEY_CURRENT_USER\\Gone\\Back", false, {{L"a", one}}},
        {L"HKEY_CURRENT_USER\\K", false, {{L"set", one}, {L"deleted", std::nullopt}}},
        {L"HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt", false, {{L"", one}}},
        {L"HKEY_CLASSES_ROOT\\.ini", true, {}},
        {L"HKEY_CURRENT_USER\\Brief", false, {{L"a", one}}},
        {L"HKEY_CURRENT_USER\\Brief", true, {}},
        {L"HKEY_CURRENT_USER\\Software", true, {}},
    };
    const RegFile::Outcome outcome(sections);
    const struct {
        const wchar_t *key, *name;
        Kind kind;
        bool data;
    } rows[] = {
        {L"HKEY_CURRENT_USER\\k", L"SET", Kind::Known, true}, // letter case aside
        {L"HKEY_CURRENT_USER\\K", L"deleted", Kind::Known, false},
        {L"HKEY_CURRENT_USER\\K", L"other", Kind::Unchanged, false},
        {L"HKEY_CURRENT_USER\\Gone\\Deeper", L"x", Kind::Known, false},
        {L"HKEY_CURRENT_USER\\Gone\\Back", L"a", Kind::Known, true},
        {L"HKEY_CURRENT_USER\\Gone\\Back", L"b", Kind::Known, false},
        {L"HKEY_CURRENT_USER\\Brief", L"a", Kind::Known, false}, // written, then removed with its key
        // The classes key by its other names: the user's Software holds one.
        {L"HKEY_CLASSES_ROOT\\.txt", L"", Kind::Unknown, false},
        {L"HKEY_CLASSES_ROOT\\.bmp", L"", Kind::Unknown, false},
        {L"HKEY_CLASSES_ROOT\\.ini", L"", Kind::Unknown, false}, // removed, then maybe back by another name
        {L"HKEY_LOCAL_MACHINE\\Software\\Other", L"", Kind::Unchanged, false},
    };
    for (const auto& row : rows) {
        CAPTURE(std::wstring(row.key) + L"|" + row.name);
        const auto state = outcome.Find(row.key, row.name);
        CHECK(state.kind == row.kind);
        CHECK((state.data && *state.data == one) == row.data);
    }
    CHECK(outcome.Text(L"HKEY_CURRENT_USER\\K", L"deleted") == L"Error");
    const std::vector<RegFile::Section> foreignKey = {{L"HKEY_USERS\\S-1-5-18\\K", false, {{L"a", one}}}};
    const RegFile::Outcome foreign(foreignKey);
    CHECK(foreign.Find(L"HKEY_CURRENT_USER\\K", L"b").kind == Kind::Unknown);
    const std::vector<RegFile::Section> software = {{L"HKEY_LOCAL_MACHINE\\SOFTWARE", true, {}}};
    const RegFile::Outcome aboveNothing(software);
    CHECK(aboveNothing.Find(L"HKEY_CLASSES_ROOT\\.bmp", L"").kind == Kind::Unchanged);
}
