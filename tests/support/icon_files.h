#pragma once
// Icon files with known contents for tests: a throwaway machine layout (Windows, system and program
// folders) to point start-up facts at, copies of the resource-only fixture DLLs built beside the tests,
// and .ico, .cur and .ani files written byte by byte.
#include "platform/startup_facts.h"

#include <cstdint>
#include <string>
#include <vector>

class TempMachine {
public:
    TempMachine();
    ~TempMachine();
    TempMachine(const TempMachine&) = delete;
    TempMachine& operator=(const TempMachine&) = delete;

    // Copies fixtures\NAME (built with the tests) into the folder; returns the copy's path.
    std::wstring Copy(const std::wstring& fixture, const std::wstring& folder) const;
    std::wstring Write(const std::wstring& folder, const std::wstring& name, const std::string& bytes) const;
    // A new folder below the root.
    std::wstring MakeFolder(const std::wstring& name) const;

    std::wstring root;
    std::wstring windows; // root\Windows
    std::wstring system;  // root\Windows\System
    std::wstring app;     // root\App
};

struct MachineKind {
    bool nt = false;
    bool plus = false;
    const wchar_t* ieVersion = L"Error"; // "4.71..." or "4.72..." give the Internet Explorer 4 shell
};

// Start-up facts for a machine laid out in the throwaway folders, or, without one, in made-up folders
// for tests that touch no file.
inline StartupFacts MachineFacts(const MachineKind& kind, const TempMachine* m = nullptr) {
    const std::wstring windows = m ? m->windows : L"C:\\WINDOWS", app = m ? m->app : L"C:\\Tools";
    StartupFacts f;
    f.OsKind = kind.nt ? L"Win NT" : L"Win 95";
    f.OsName = kind.nt ? L"Windows NT" : L"Windows 95";
    f.HasPlus = kind.plus;
    f.WindowsDir = windows;
    f.SystemDir = m ? m->system : windows + L"\\SYSTEM";
    f.ColourDepth = 24;
    f.ScreenWidth = 1024;
    f.ScreenHeight = 768;
    f.IEVersion = kind.ieVersion;
    f.HasIE4Shell = IsIE4ShellVersion(kind.ieVersion);
    f.AppDir = app;
    f.OwnExePath = app + L"\\Tessaly.exe";
    f.HelpFile = app + L"\\Help.hlp";
    return f;
}
inline StartupFacts MachineFacts(const TempMachine& m, const MachineKind& kind) {
    return MachineFacts(kind, &m);
}

enum class IconFileKind { Icon, Cursor };

// Solid, fully opaque 24-bit pictures, so that one drawn pixel tells which file (and which image) was used.
struct ColourImage {
    std::uint32_t colour; // a COLORREF
    int size = 32;
};
// A .ico or .cur file holding the images in this order.
std::string ColourIconBytes(const std::vector<ColourImage>& images, IconFileKind kind = IconFileKind::Icon);
// A one-frame animated cursor whose frame is a 32-pixel picture in one colour.
std::string ColourAnimatedCursorBytes(std::uint32_t colour);

// Files whose picture does not matter: one 32-pixel image.
inline std::string IconFileBytes(IconFileKind kind) {
    return ColourIconBytes({{0x800000}}, kind);
}
inline std::string AnimatedCursorBytes() {
    return ColourAnimatedCursorBytes(0x800000);
}
