#include "themes/recent_themes.h"

#include "registry/program_keys.h"
#include "registry/registry.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <array>

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
