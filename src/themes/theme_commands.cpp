#include "themes/theme_commands.h"

#include "icons/icon_location.h"
#include "platform/profile.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "session/session.h"
#include "themes/theme_format.h"

#include <windows.h>

#include <map>

using namespace std::string_literals;

namespace {

// A load lets window messages through between lists; a theme command started meanwhile would load or save
// half a theme, or move the theme folder under the load, so it is ignored.
bool commandRunning = false;

class CommandScope {
public:
    CommandScope() : entered_(!commandRunning) { commandRunning = true; }
    ~CommandScope() {
        if (entered_) commandRunning = false;
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
    bool entered() const { return entered_; }

private:
    bool entered_;
};

class BusyScope {
public:
    explicit BusyScope(SystemPort& system) : system_(system) { system_.SetBusy(true); }
    ~BusyScope() { system_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    SystemPort& system_;
};

std::wstring FolderWithoutBackslash(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void BecomeCurrent(Session& session, const std::wstring& path, const ThemePorts& ports) {
    session.CurrentThemePath = path;
    if (ports.BecameCurrent) ports.BecameCurrent(path);
}

// --- Writing

void WriteThemeEntry(const Session& session, const std::wstring& path, std::wstring_view section,
                     std::wstring_view key, const std::wstring& reference) {
    // Items that show the program's own pictures use the Windows defaults, which are not saved.
    if (SplitIconLocation(reference).file == session.Facts.OwnExePath) return;
    Profile::WriteString(std::wstring(section), std::wstring(key),
                         CompressThemePath(reference, session.Folders), path);
}

// --- Reading

// One load's bookkeeping: whether each icon file exists is asked once, however many items name it.
class ThemeReader {
public:
    ThemeReader(Session& session, const std::wstring& path) : session_(session), path_(path) {}

    void Apply(const ThemeEntry& entry) { Apply(entry.category, entry.section, entry.key, entry.itemKey); }

    void Apply(IconCategory category, std::wstring_view section, std::wstring_view key,
               std::wstring_view itemKey) {
        const std::wstring value = ReadThemeValue(std::wstring(section), std::wstring(key), path_);
        if (value.empty()) return;
        const SplitLocation split = SplitIconLocation(value);
        IconListModel& list = session_.Lists[category];
        const std::wstring item(itemKey);
        if (!split.usable() || !list.Find(item)) return;
        const std::wstring file = ExpandThemePath(split.file, session_.Folders);
        // Staged, such a file would make the system fetch pictures from that machine, with the user's
        // credentials, at every start.
        if (IsNetworkPath(file)) {
            session_.MissingIcons = true;
            return;
        }
        list.Change(item, L"", value);
        if (!Exists(file)) session_.MissingIcons = true;
    }

    void Refresh(IconCategory category) { session_.Lists[category].ListRefresh(); }

private:
    bool Exists(const std::wstring& file) {
        auto [it, added] = exists_.try_emplace(file, false);
        if (added) it->second = FileExists(file);
        return it->second;
    }

    Session& session_;
    const std::wstring& path_;
    std::map<std::wstring, bool> exists_;
};

// A foreign format: its entries in order, each list redrawn once its entries are read.
void LoadEntries(Session& session, const std::wstring& path, std::span<const ThemeEntry> entries) {
    ThemeReader reader(session, path);
    for (size_t i = 0; i < entries.size(); ++i) {
        reader.Apply(entries[i]);
        if (i + 1 == entries.size() || entries[i + 1].category != entries[i].category)
            reader.Refresh(entries[i].category);
    }
}

std::wstring WithoutQuotes(const std::wstring& path) {
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"' &&
        path.find(L'"', 1) == path.size() - 1)
        return path.substr(1, path.size() - 2);
    return path;
}

// Profile functions look for a bare name in the Windows folder; a name typed on the command line means the
// current folder, and %ThemeDir% needs the folder.
std::wstring FullPath(const std::wstring& path) {
    if (path.empty()) return path;
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (written == 0 || written >= n) return path;
    full.resize(written);
    return full;
}

} // namespace

// --- Save

void WriteThemeFile(Session& session, const std::wstring& path) {
    session.Folders.ThemeFolder = FolderWithoutBackslash(path);
    const std::wstring credits(CreditsSection);
    for (const ThemeCredit& credit : ThemeCredits())
        Profile::WriteString(credits, std::wstring(credit.key), std::wstring(credit.value), path);
    for (const NativeThemeSection& section : NativeThemeSections()) {
        const IconListModel& list = session.Lists[section.category];
        for (const NativeThemeKey& key : section.keys)
            if (KeyApplies(key, session.Facts))
                WriteThemeEntry(session, path, section.name, key.fileKey,
                                list.ItemFullPath(std::wstring(key.itemKey)));
    }
}

void SaveTheme(Session& session, bool toCurrent, ThemePorts& ports) {
    CommandScope scope;
    if (!scope.entered()) return;
    std::wstring path;
    if (toCurrent && !session.CurrentThemePath.empty()) {
        const int answer = Messages::AskOverwriteTheme(ports.prompts, session.CurrentThemePath);
        if (answer == 0) return;
        if (answer != 1) path = session.CurrentThemePath;
    }
    if (path.empty()) {
        ports.dialog.Title(L"Save Theme");
        ports.dialog.Filter(L"Icon Theme\0*.tstheme\0"s);
        if (!ports.dialog.ShowSave(path)) return;
    }
    path = WithNativeEnding(path);
    // Checked first, so that a failed save leaves no caption, recent entry or stored current theme naming a
    // file with nothing in it.
    if (!Profile::CanWrite(path)) {
        Messages::ShowThemeNotSaved(ports.prompts, path);
        return;
    }
    BecomeCurrent(session, path, ports);
    WriteThemeFile(session, path);
    Registry::WriteString(ProgramSettingsKey, CurrentThemeValue, session.CurrentThemePath);
}

// --- Open

std::wstring ReadThemeValue(const std::wstring& section, const std::wstring& key, const std::wstring& path) {
    std::wstring value = Profile::ReadString(section, key, path);
    if (value.size() < 2) value.clear();
    return value;
}

bool IsNetworkPath(std::wstring_view path) {
    auto slash = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    return path.size() >= 2 && slash(path[0]) && slash(path[1]);
}

void LoadNativeTheme(Session& session, const std::wstring& path) {
    ThemeReader reader(session, path);
    for (const NativeThemeSection& section : NativeThemeSections()) {
        DoEvents();
        for (const NativeThemeKey& key : section.keys)
            if (KeyApplies(key, session.Facts))
                reader.Apply(section.category, section.name, key.fileKey, key.itemKey);
        // The System list's own section comes later, so its values win over these.
        if (section.category == IconCategory::Others)
            for (const ThemeEntry& extra : OtherIconsExtras()) reader.Apply(extra);
        DoEvents();
        reader.Refresh(section.category);
        DoEvents();
    }
}

void LoadMotifTheme(Session& session, const std::wstring& path) {
    LoadEntries(session, path, MotifThemeEntries());
}

void LoadPlusTheme(Session& session, const std::wstring& path) {
    LoadEntries(session, path, PlusThemeEntries());
}

bool OpenTheme(Session& session, std::wstring path, bool fromCommandLine, ThemePorts& ports) {
    CommandScope scope;
    if (!scope.entered()) return false;
    for (;;) {
        if (fromCommandLine) {
            if (path.starts_with(L"/a")) {
                session.AutoApply = true;
                path.erase(0, std::min<size_t>(3, path.size()));
            }
            path = WithoutQuotes(path);
            if (const std::wstring full = FullPath(path); FileExists(full)) path = full;
        } else if (path.empty()) {
            ports.dialog.Title(L"Open Theme");
            ports.dialog.Filter(L"All Theme Files\0*.tstheme;*.motif;*.theme\0"
                                L"Icon Theme (*.tstheme)\0*.tstheme\0"
                                L"Microangelo Motif (*.motif)\0*.motif\0"
                                L"Microsoft Theme (*.theme)\0*.theme\0"s);
            if (!ports.dialog.ShowOpen(path)) return false;
        }
        BusyScope busy(ports.system);
        const ThemeKind kind = ThemeKindOf(path);
        // A name that names no file (a deleted recent theme, a mistyped command line) is no theme either.
        if (kind == ThemeKind::None || !FileExists(path)) {
            Messages::ShowInvalidTheme(ports.prompts, path);
            path.clear();
            fromCommandLine = false;
            continue;
        }
        session.Folders.ThemeFolder = FolderWithoutBackslash(path);
        session.MissingIcons = false;
        switch (kind) {
        case ThemeKind::Native:
            LoadNativeTheme(session, path);
            break;
        case ThemeKind::Motif:
            LoadMotifTheme(session, path);
            break;
        case ThemeKind::Plus:
            LoadPlusTheme(session, path);
            break;
        case ThemeKind::None:
            break;
        }
        if (session.MissingIcons) {
            Messages::ShowMissingIcons(ports.prompts);
            session.MissingIcons = false;
        }
        session.IconCacheDirty = true;
        BecomeCurrent(session, path, ports);
        if (session.AutoApply && ports.ApplyAndEnd) {
            ports.ApplyAndEnd();
            return true;
        }
        session.MarkChanged();
        return true;
    }
}
