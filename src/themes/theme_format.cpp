#include "themes/theme_format.h"

#include "platform/program_info.h"
#include "platform/text.h"

#include <array>

namespace {

using enum ThemeKeyCondition;
using C = IconCategory;

bool EndsWithNoCase(std::wstring_view s, std::wstring_view ending) {
    return s.size() >= ending.size() && text::EqualsNoCase(s.substr(s.size() - ending.size()), ending);
}

constexpr ThemeCredit Credits[] = {
    {L"Software", L"Tessaly 2.02"},
    {L"Company", L"Korvath"},
    {L"Website", ProgramWebSite},
    {L"Email", ProgramEmail},
};

constexpr NativeThemeKey DesktopKeys[] = {
    {L"My Computer", L"My Computer"},
    {L"Network Neighborhood", L"Network Neighborhood"},
    {L"The Internet", L"The Internet"},
    {L"In Box", L"In Box"},
    {L"My Briefcase", L"My Briefcase"},
    {L"Recycle Bin (empty)", L"Recycle Bin (empty)"},
    {L"Recycle Bin (full)", L"Recycle Bin (full)"},
};
constexpr NativeThemeKey StartKeys[] = {
    {L"Programs", L"Programs"},
    {L"Favorites", L"Favorites", IE4Shell},
    {L"Documents", L"Documents"},
    {L"Settings", L"Settings"},
    {L"Find", L"Find"},
    {L"Help", L"Help"},
    {L"Run...", L"Run..."},
    {L"Log Off...", L"Log Off...", IE4Shell},
    {L"Suspend", L"Suspend"},
    {L"Shut Down...", L"Shut Down..."},
    {L"Settings | Control Panel", L"Settings - Control Panel"},
    {L"Settings | Printers", L"Settings - Printers"},
};
constexpr NativeThemeKey FolderKeys[] = {
    {L"Closed Folder", L"Closed Folder"},
    {L"Open Folder", L"Open Folder"},
    {L"Program Group", L"Program Group"},
    {L"Users Program Group", L"Users Program Group", WindowsNT},
    {L"Control Panel", L"Control Panel"},
    {L"Dial-Up Networking", L"Dial-Up Networking"},
    {L"Printers", L"Printers"},
    {L"Url History Folder", L"Url History"},
    {L"Subscriptions", L"Subscriptions", IE4Shell},
    {L"ActiveX Cache", L"ActiveX Cache", IE4Shell},
};
constexpr NativeThemeKey DriveKeys[] = {
    {L"Floppy Drive (5.25)", L"Floppy Drive 5.25"},
    {L"Floppy Drive (3.5)", L"Floppy Drive 3.5"},
    {L"Hard Drive", L"Hard Drive"},
    {L"Network Drive", L"Network Drive (connected)"},
    {L"Network Drive (offline)", L"Network Drive (offline)"},
    {L"CD-ROM Drive", L"CD-ROM Drive"},
    {L"Removeable Drive", L"Removable Drive"}, // the format's own spelling
    {L"RAM Drive", L"RAM Drive"},
};
constexpr NativeThemeKey OtherKeys[] = {
    {L"Shortcut Overlay", L"Shortcut Overlay"},
    {L"Sharing", L"Sharing Overlay"},
    {L"Desktop", L"Desktop"},
    {L"Entire Network", L"Entire Network"},
    {L"Workgroup", L"Workgroup"},
    {L"Computer", L"Computer"},
    {L"Audio CD", L"Audio CD"},
    {L"Printer", L"Printer"},
};
constexpr NativeThemeKey SystemKeys[] = {
    {L"Bitmap Image", L"Bitmap Image"},
    {L"Configuration Settings", L"Configuration Settings"},
    {L"Default Icon", L"Default Icon"},
    {L"Default Document", L"Default Document"},
    {L"GIF Image", L"GIF Image"},
    {L"Internet Document", L"Internet Document"},
    {L"JPEG Image", L"JPEG Image"},
    {L"Media Clip", L"Media Clip"},
    {L"Movie Clip", L"Movie Clip"},
    {L"MS-DOS Application", L"MS-DOS Application"},
    {L"MS-DOS Batch File", L"MS-DOS Batch File"},
    {L"MIDI Sequence", L"MIDI Sequence"},
    {L"Rich Text Format", L"Rich Text Format"},
    {L"Text Document", L"Text Document"},
    {L"Video Clip", L"Video Clip"},
    {L"Wave Sound", L"Wave Sound"},
    {L"Write Document", L"Write Document"},
    {L"Zip File", L"Zip File"},
};
constexpr NativeThemeKey PointerKeys[] = {
    {L"Normal Select", L"Normal Select"},
    {L"Help Select", L"Help Select"},
    {L"Working In Background", L"Working In Background"},
    {L"Busy", L"Busy"},
    {L"Precision Select", L"Precision Select"},
    {L"Text Select", L"Text Select"},
    {L"Handwriting", L"Handwriting"},
    {L"Unavailable", L"Unavailable"},
    {L"Vertical Resize", L"Vertical Resize"},
    {L"Horizontal Resize", L"Horizontal Resize"},
    {L"Diagonal Resize 1", L"Diagonal Resize 1"},
    {L"Diagonal Resize 2", L"Diagonal Resize 2"},
    {L"Move", L"Move"},
    {L"Alternate Select", L"Alternate Select"},
};

constexpr NativeThemeSection Sections[] = {
    {C::Desktop, L"Desktop Icons", DesktopKeys}, {C::Start, L"Start Icons", StartKeys},
    {C::Folders, L"Folder Icons", FolderKeys},   {C::Drives, L"Drive Icons", DriveKeys},
    {C::Others, L"Other Icons", OtherKeys},      {C::Apps, L"System Icons", SystemKeys},
    {C::Pointers, L"Pointers", PointerKeys},
};

constexpr ThemeEntry Extras[] = {
    {C::Apps, L"Other Icons", L"Default Icon", L"Default Icon"},
    {C::Apps, L"Other Icons", L"Default Document", L"Default Document"},
    {C::Apps, L"Other Icons", L"Application", L"MS-DOS Application"},
};

constexpr std::wstring_view MyComputer = L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon";
constexpr std::wstring_view Network = L"CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}\\DefaultIcon";
constexpr std::wstring_view Bin = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
constexpr std::wstring_view ShellIcons =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
constexpr std::wstring_view Cursors = L"Control Panel\\Cursors";
constexpr std::wstring_view Value = L"DefaultValue";

// Both foreign formats read the pointers from the same section, in this order.
constexpr ThemeEntry ForeignPointers[] = {
    {C::Pointers, Cursors, L"Wait", L"Busy"},
    {C::Pointers, Cursors, L"Arrow", L"Normal Select"},
    {C::Pointers, Cursors, L"AppStarting", L"Working In Background"},
    {C::Pointers, Cursors, L"Crosshair", L"Precision Select"},
    {C::Pointers, Cursors, L"Help", L"Help Select"},
    {C::Pointers, Cursors, L"IBeam", L"Text Select"},
    {C::Pointers, Cursors, L"No", L"Unavailable"},
    {C::Pointers, Cursors, L"SizeAll", L"Move"},
    {C::Pointers, Cursors, L"SizeNESW", L"Diagonal Resize 2"},
    {C::Pointers, Cursors, L"SizeNS", L"Vertical Resize"},
    {C::Pointers, Cursors, L"SizeNWSE", L"Diagonal Resize 1"},
    {C::Pointers, Cursors, L"SizeWE", L"Horizontal Resize"},
    {C::Pointers, Cursors, L"UpArrow", L"Alternate Select"},
    {C::Pointers, Cursors, L"NWPen", L"Handwriting"},
};

template <size_t A, size_t B>
constexpr std::array<ThemeEntry, A + B> Join(const ThemeEntry (&first)[A], const ThemeEntry (&second)[B]) {
    std::array<ThemeEntry, A + B> all{};
    for (size_t i = 0; i < A; ++i) all[i] = first[i];
    for (size_t i = 0; i < B; ++i) all[A + i] = second[i];
    return all;
}

constexpr ThemeEntry MotifOwn[] = {
    {C::Desktop, MyComputer, Value, L"My Computer"},
    {C::Desktop, Network, Value, L"Network Neighborhood"},
    {C::Desktop, L"CLSID\\{FBF23B42-E3F0-101B-8488-00AA003E56F8}\\DefaultIcon", Value, L"The Internet"},
    {C::Desktop, L"CLSID\\{00020D75-0000-0000-C000-000000000046}\\DefaultIcon", Value, L"In Box"},
    {C::Desktop, L"CLSID\\{00020D76-0000-0000-C000-000000000046}\\DefaultIcon", Value, L"In Box"},
    {C::Desktop, Bin, L"empty", L"Recycle Bin (empty)"},
    {C::Desktop, Bin, L"full", L"Recycle Bin (full)"},
    {C::Start, ShellIcons, L"19", L"Programs"},
    {C::Start, ShellIcons, L"20", L"Documents"},
    {C::Start, ShellIcons, L"21", L"Settings"},
    {C::Start, ShellIcons, L"22", L"Find"},
    {C::Start, ShellIcons, L"23", L"Help"},
    {C::Start, ShellIcons, L"24", L"Run..."},
    {C::Start, ShellIcons, L"25", L"Suspend"},
    {C::Start, ShellIcons, L"27", L"Shut Down..."},
    {C::Folders, ShellIcons, L"3", L"Closed Folder"},
    {C::Folders, ShellIcons, L"4", L"Open Folder"},
    {C::Folders, ShellIcons, L"36", L"Program Group"},
    {C::Folders, L"CLSID\\{21EC2020-3AEA-1069-A2DD-08002B30309D}\\DefaultIcon", Value, L"Control Panel"},
    {C::Folders, L"CLSID\\{992CFFA0-F557-101A-88EC-00DD010CCC48}\\DefaultIcon", Value, L"Dial-Up Networking"},
    {C::Folders, L"CLSID\\{a4d92740-67cd-11cf-96f2-00aa00a11dd9}\\DefaultIcon", Value, L"Dial-Up Networking"},
    {C::Folders, L"CLSID\\{2227A280-3AEA-1069-A2DE-08002B30309D}\\DefaultIcon", Value, L"Printers"},
    {C::Drives, ShellIcons, L"5", L"Floppy Drive 5.25"},
    {C::Drives, ShellIcons, L"6", L"Floppy Drive 3.5"},
    {C::Drives, ShellIcons, L"8", L"Hard Drive"},
    {C::Drives, ShellIcons, L"9", L"Network Drive (connected)"},
    {C::Drives, ShellIcons, L"10", L"Network Drive (offline)"},
    {C::Drives, ShellIcons, L"11", L"CD-ROM Drive"},
    {C::Drives, ShellIcons, L"7", L"Removable Drive"},
    {C::Drives, ShellIcons, L"12", L"RAM Drive"},
    {C::Others, ShellIcons, L"29", L"Shortcut Overlay"},
    {C::Others, ShellIcons, L"28", L"Sharing Overlay"},
    {C::Others, ShellIcons, L"34", L"Desktop"},
    {C::Others, ShellIcons, L"13", L"Entire Network"},
    {C::Others, ShellIcons, L"18", L"Workgroup"},
    {C::Others, ShellIcons, L"15", L"Computer"},
    {C::Others, ShellIcons, L"40", L"Audio CD"},
    {C::Apps, ShellIcons, L"0", L"Default Icon"},
    {C::Apps, ShellIcons, L"1", L"Default Document"},
    {C::Apps, ShellIcons, L"2", L"MS-DOS Application"},
};
constexpr auto Motif = Join(MotifOwn, ForeignPointers);

constexpr ThemeEntry PlusOwn[] = {
    {C::Desktop, MyComputer, Value, L"My Computer"},
    {C::Desktop, Network, Value, L"Network Neighborhood"},
    {C::Desktop, Bin, L"empty", L"Recycle Bin (empty)"},
    {C::Desktop, Bin, L"full", L"Recycle Bin (full)"},
};
constexpr auto Plus = Join(PlusOwn, ForeignPointers);

} // namespace

ThemeKind ThemeKindOf(std::wstring_view path) {
    if (EndsWithNoCase(path, NativeThemeEnding)) return ThemeKind::Native;
    if (EndsWithNoCase(path, L".motif")) return ThemeKind::Motif;
    if (EndsWithNoCase(path, L".theme")) return ThemeKind::Plus;
    return ThemeKind::None;
}

std::wstring WithNativeEnding(const std::wstring& path) {
    return EndsWithNoCase(path, NativeThemeEnding) ? path : path + std::wstring(NativeThemeEnding);
}

std::span<const ThemeCredit> ThemeCredits() {
    return Credits;
}

bool KeyApplies(const NativeThemeKey& key, const StartupFacts& facts) {
    switch (key.when) {
    case IE4Shell:
        return facts.HasIE4Shell;
    case WindowsNT:
        return facts.IsNT();
    case Always:
        break;
    }
    return true;
}

std::span<const NativeThemeSection> NativeThemeSections() {
    return Sections;
}
std::span<const ThemeEntry> OtherIconsExtras() {
    return Extras;
}
std::span<const ThemeEntry> MotifThemeEntries() {
    return Motif;
}
std::span<const ThemeEntry> PlusThemeEntries() {
    return Plus;
}
