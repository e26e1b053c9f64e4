// The program as it starts: what the real detection finds, run as a process of its own, and the program
// file's own icons (the program's and the fourteen pointer pictures, in that order) and manifest.
#include "platform/startup_facts.h"
#include "platform/text.h"
#include "platform/unique_handle.h"
#include "support/icon_files.h"
#include "support/programs.h"
#include "support/registry_sandbox.h"
#include "support/wide_text.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Runs the probe program and returns what it wrote, one fact a line.
std::map<std::string, std::string> RunProbe(const fs::path& exe) {
    const TempMachine m; // its folder, and the file, go when it does
    const std::wstring out = m.root + L"\\facts.txt";
    REQUIRE(RunAndWait(L"\"" + exe.wstring() + L"\" \"" + out + L"\"", 30000));
    std::map<std::string, std::string> facts;
    std::ifstream lines{fs::path(out)};
    for (std::string line; std::getline(lines, line);)
        if (size_t eq = line.find('='); eq != std::string::npos)
            facts[line.substr(0, eq)] = line.substr(eq + 1);
    return facts;
}

// The Windows version Wine reports to one program, read by Wine when the program starts.
class WineVersionFor {
public:
    WineVersionFor(const std::wstring& exeName, const wchar_t* version)
        : key_(L"Software\\Wine\\AppDefaults\\" + exeName) {
        if (version) RawSetString(HKEY_CURRENT_USER, key_, L"Version", version); // no sandbox: the real key
    }
    ~WineVersionFor() {
        RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()), RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str());
    }

private:
    std::wstring key_;
};

} // namespace

TEST_CASE("the real detection tells Windows 95 from Windows NT") {
    const fs::path probe = fs::absolute(L"tests\\facts_probe.exe");
    REQUIRE(fs::exists(probe));
    // The prefix has no Plus! setup key: Windows 95 then lacks Plus!, Windows NT always has it.
    struct Row {
        const wchar_t* wineVersion; // null: Wine's default
        const char *kind, *name, *plus;
    };
    for (const Row& row :
         {Row{L"win95", "Win 95", "Windows 95", "0"}, Row{L"nt40", "Win NT", "Windows NT", "1"},
          Row{nullptr, "Win NT", "Windows NT", "1"}}) {
        CAPTURE(row.kind);
        WineVersionFor version(L"facts_probe.exe", row.wineVersion);
        auto facts = RunProbe(probe);
        CHECK(facts["OsKind"] == row.kind);
        CHECK(facts["OsName"] == row.name);
        CHECK(facts["HasPlus"] == row.plus);
    }
}

TEST_CASE("the real detection finds the folders and the program's own files") {
    // A copy under another name and an upper-case extension: the program file is still named with ".exe".
    const fs::path folder = fs::temp_directory_path() / L"Tessaly Probe";
    fs::create_directories(folder);
    const fs::path copy = folder / L"Probe.EXE";
    fs::copy_file(fs::absolute(L"tests\\facts_probe.exe"), copy, fs::copy_options::overwrite_existing);
    auto facts = RunProbe(copy);

    wchar_t windows[MAX_PATH], system[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    GetSystemDirectoryW(system, MAX_PATH);
    CHECK(facts["WindowsDir"] == text::Narrow(windows));
    CHECK(facts["SystemDir"] == text::Narrow(system));
    CHECK(facts["WindowsDir"].back() != '\\');

    const std::string dir = text::Narrow(folder.wstring());
    CHECK(facts["AppDir"] == dir);
    CHECK(facts["OwnExePath"] == dir + "\\Probe.exe");
    CHECK(facts["HelpFile"] == dir + "\\Help.hlp");
    CHECK(std::stoi(facts["ColourDepth"]) >= 8);
    fs::remove_all(folder);
}

TEST_CASE("the Internet Explorer 4 shell is known by its version text") {
    for (const wchar_t* version : {L"4.71.1712.6", L"4.72"}) CHECK(IsIE4ShellVersion(version));
    for (const wchar_t* version : {L"4.70.1155", L"5.00.2614.3500", L"Error", L"", L"4.7"})
        CHECK_FALSE(IsIE4ShellVersion(version));
}

TEST_CASE("the program file carries fifteen 32-pixel icons, each with an outline of its own") {
    const std::wstring exe = std::filesystem::absolute(L"Tessaly.exe").wstring();
    REQUIRE(std::filesystem::exists(exe));
    CHECK(reinterpret_cast<UINT_PTR>(
              ExtractIconW(GetModuleHandleW(nullptr), exe.c_str(), static_cast<UINT>(-1))) == 15);
    std::vector<std::vector<unsigned char>> masks; // the AND masks
    for (UINT index = 0; index < 15; ++index) {
        CAPTURE(index);
        UniqueHIcon icon(ExtractIconW(GetModuleHandleW(nullptr), exe.c_str(), index));
        REQUIRE(icon);
        ICONINFO info{};
        GetIconInfo(icon.get(), &info);
        UniqueGdiObj mask(info.hbmMask), colour(info.hbmColor);
        BITMAP bm{};
        GetObjectW(info.hbmMask, sizeof bm, &bm);
        // A monochrome icon keeps its picture and mask in one bitmap of twice the height.
        CHECK(bm.bmWidth == 32);
        CHECK((info.hbmColor ? bm.bmHeight : bm.bmHeight / 2) == 32);
        std::vector<unsigned char> bits(32 * 64 / 8);
        GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
        bits.resize(32 * 32 / 8 * 2); // the AND half (and, for colour icons, the whole mask)
        for (const auto& other : masks) CHECK(other != bits);
        masks.push_back(bits);
    }
    CHECK(ExtractIconW(GetModuleHandleW(nullptr), exe.c_str(), 15) == nullptr);
}

TEST_CASE("the program file asks for common controls 6 and runs as invoker") {
    UniqueHModule module(
        LoadLibraryExW(std::filesystem::absolute(L"Tessaly.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    REQUIRE(module);
    HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    REQUIRE(found);
    auto* data = static_cast<const char*>(LockResource(LoadResource(module.get(), found)));
    std::string manifest(data, SizeofResource(module.get(), found));
    CHECK(manifest.find("Microsoft.Windows.Common-Controls") != std::string::npos);
    CHECK(manifest.find("version=\"6.0.0.0\"") != std::string::npos);
    CHECK(manifest.find("level=\"asInvoker\"") != std::string::npos);
}
