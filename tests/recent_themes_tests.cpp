#include "themes/recent_themes.h"

#include "registry/program_keys.h"
#include "registry/registry.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <array>
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

TEST_CASE("the caption names the current theme by its base name") {
    struct Case {
        std::wstring path, caption;
    };
    const Case cases[] = {
        {L"C:\\Themes\\Blue Sky.tstheme", L"Tessaly - Blue Sky"},
        {L"C:\\Themes\\my.old.tstheme", L"Tessaly - my"},
        {L"C:\\Themes\\plain", L"Tessaly - plain"},
        {L"D:Sun.motif", L"Tessaly - Sun"},
        {L"", L"Tessaly"},
    };
    for (const Case& c : cases) CHECK(MainCaption(c.path) == c.caption);
}

TEST_CASE("SetCurrentTheme with a path, the empty text and the stored theme") {
    SessionFixture f;
    Session& session = f.Load({});
    SUBCASE("a path becomes current and goes to the list") {
        SetCurrentTheme(session, L"C:\\Themes\\Sun.tstheme");
        CHECK(session.CurrentThemePath == L"C:\\Themes\\Sun.tstheme");
        CHECK(ReadRecentTheme(1) == L"C:\\Themes\\Sun.tstheme");
    }
    SUBCASE("the empty text clears it and leaves the list") {
        StoreSlots({L"one"});
        session.CurrentThemePath = L"one";
        SetCurrentTheme(session, L"");
        CHECK(session.CurrentThemePath.empty());
        CHECK(ReadRecentThemes() == Slots{L"one"});
    }
    SUBCASE("\"Display\" takes the stored theme, even one whose file is gone") {
        Registry::WriteString(ProgramSettingsKey, CurrentThemeValue, L"C:\\Gone\\Old.tstheme");
        SetCurrentTheme(session, StoredThemeRequest);
        CHECK(session.CurrentThemePath == L"C:\\Gone\\Old.tstheme");
        CHECK(ReadRecentTheme(1) == L"C:\\Gone\\Old.tstheme");
    }
    SUBCASE("\"Display\" with nothing or the empty text stored does nothing") {
        for (bool storeEmpty : {false, true}) {
            if (storeEmpty) Registry::WriteString(ProgramSettingsKey, CurrentThemeValue, L"");
            SetCurrentTheme(session, StoredThemeRequest);
            CHECK(session.CurrentThemePath.empty());
            CHECK(ReadRecentThemes() == Slots{});
        }
    }
}
