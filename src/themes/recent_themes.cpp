#include "themes/recent_themes.h"

#include "icons/icon_location.h"
#include "platform/text.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "session/session.h"

namespace {

std::wstring SlotName(int slot) {
    return std::to_wstring(slot);
}

void Notify(Session& session) {
    if (session.ThemesChanged) session.ThemesChanged();
}

} // namespace

std::wstring ReadRecentTheme(int slot) {
    std::wstring path = Registry::ReadString(ThemesKey, SlotName(slot));
    return path == Registry::ErrorText ? std::wstring() : path;
}

std::array<std::wstring, RecentThemeSlots> ReadRecentThemes() {
    std::array<std::wstring, RecentThemeSlots> paths;
    for (int slot = 1; slot <= RecentThemeSlots; ++slot) paths[slot - 1] = ReadRecentTheme(slot);
    return paths;
}

std::wstring MainCaption(const std::wstring& currentThemePath) {
    if (currentThemePath.empty()) return L"Tessaly";
    return L"Tessaly - " + FileBaseName(currentThemePath);
}

void SetCurrentTheme(Session& session, const std::wstring& path) {
    if (path == StoredThemeRequest) {
        // The stored file is not looked for: a theme that has gone is still named.
        const std::wstring stored = Registry::ReadString(ProgramSettingsKey, CurrentThemeValue);
        if (!stored.empty() && stored != Registry::ErrorText) SetCurrentTheme(session, stored);
        return;
    }
    session.CurrentThemePath = path;
    if (path.empty()) {
        Notify(session);
        return;
    }
    AddRecentTheme(session, path); // tells the window, which shows the caption with the list
}

void AddRecentTheme(Session& session, const std::wstring& path) {
    if (!path.empty()) {
        // Only slot 1 is compared, so a theme further down gets a second copy at the top.
        if (text::EqualsNoCase(ReadRecentTheme(1), path)) {
            // The caption may still have changed.
            Notify(session);
            return;
        }
        for (int slot = RecentThemeSlots - 1; slot >= 1; --slot) {
            const std::wstring moved = ReadRecentTheme(slot);
            if (!moved.empty()) Registry::WriteString(ThemesKey, SlotName(slot + 1), moved);
        }
        Registry::WriteString(ThemesKey, SlotName(1), path);
    }
    Notify(session);
}
