#include "themes/recent_themes.h"

#include "registry/program_keys.h"
#include "registry/registry.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <array>
#include <optional>
#include <vector>

namespace {

using Slots = std::array<std::wstring, RecentThemeSlots>;

void StoreSlots(const Slots& slots) {
    for (int slot = 1; slot <= RecentThemeSlots; ++slot)
        if (!slots[slot - 1].empty())
            Registry::WriteString(ThemesKey, std::to_wstring(slot), slots[slot - 1]);
}

} // namespace

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
        {"the oldest falls out",
         {L"one", L"two", L"three", L"four"},
         L"five",
         {L"five", L"one", L"two", L"three"}},
        // Only slot 1 is compared, so a theme lower down is listed twice.
        {"one further down",
         {L"one", L"two", L"three", L"four"},
         L"three",
         {L"three", L"one", L"two", L"three"}},
        {"the empty text changes nothing", {L"one", L"two"}, L"", {L"one", L"two"}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        SessionFixture f;
        Session& session = f.Load({});
        StoreSlots(c.before);
        int told = 0;
        session.ThemesChanged = [&told] { ++told; };
        AddRecentTheme(session, c.added);
        CHECK(ReadRecentThemes() == c.after);
        CHECK(told == 1);
    }
}

TEST_CASE("SetCurrentTheme with a path, the empty text and the stored theme") {
    struct Case {
        const char* name;
        std::optional<std::wstring> stored; // "Current Theme"
        std::wstring path, current;
        Slots after;
    };
    const std::wstring gone = L"C:\\Gone\\Old.tstheme";
    const Case cases[] = {
        {"a path becomes current and goes to the list", {}, L"C:\\Sun", L"C:\\Sun", {L"C:\\Sun", L"one"}},
        {"the empty text clears it and leaves the list", {}, L"", L"", {L"one"}},
        {"\"Display\" takes the stored theme, even one whose file is gone",
         gone,
         StoredThemeRequest,
         gone,
         {gone, L"one"}},
        {"\"Display\" with nothing stored does nothing", {}, StoredThemeRequest, L"one", {L"one"}},
        {"\"Display\" with the empty text stored does nothing", L"", StoredThemeRequest, L"one", {L"one"}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        SessionFixture f;
        Session& session = f.Load({});
        StoreSlots({L"one"});
        session.CurrentThemePath = L"one";
        if (c.stored) Registry::WriteString(ProgramSettingsKey, CurrentThemeValue, *c.stored);
        SetCurrentTheme(session, c.path);
        CHECK(session.CurrentThemePath == c.current);
        CHECK(ReadRecentThemes() == c.after);
    }
}
