#include "icons/icon_location.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <tuple>

TEST_CASE("an icon reference splits at its last comma; an index part that is no 16-bit number is unusable") {
    const std::tuple<const wchar_t*, const wchar_t*, int, bool> rows[] = {
        {L"C:\\Sun, Moon\\sky.dll,12", L"C:\\Sun, Moon\\sky.dll", 12, true},
        {L"C:\\Icons\\sun.ico", L"C:\\Icons\\sun.ico", 0, false}, // no comma: index 0
        {L"x.dll, -5 ", L"x.dll", -5, true},
        {L"x.dll,32767", L"x.dll", 32767, true},
        {L"x.dll,-32768", L"x.dll", -32768, true},
    };
    for (auto [reference, file, index, comma] : rows) {
        CAPTURE(std::wstring(reference));
        const SplitLocation s = SplitIconLocation(reference);
        CHECK(s.file == file);
        CHECK(s.index == index);
        CHECK(s.hadComma == comma);
    }
    for (const wchar_t* unusable : {L"x.dll,32768", L"x.dll,-32769", L"x.dll,99999999999999999999", L"x.dll,",
                                    L"x.dll,3a", L"x.dll,1.5", L"x.dll,-", L"x.dll,0x10"}) {
        CAPTURE(std::wstring(unusable));
        CHECK_FALSE(SplitIconLocation(unusable).usable());
        CHECK(SplitIconLocation(unusable).file == L"x.dll");
    }
}
