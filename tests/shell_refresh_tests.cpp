#include "apply/shell_refresh.h"
#include "support/registry_dump.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <array>
#include <atomic>
#include <latch>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::wstring Metrics = L"Control Panel\\desktop\\WindowMetrics";
const std::wstring Program = L"Software\\Korvath\\Tessaly\\2.0\\Settings";

std::wstring StoredSize() {
    return RawText(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size");
}

// Notes the stored icon size each time the change is announced.
struct SizeWatch : RecordingSystemPort {
    std::vector<std::wstring> sizes;
    void BroadcastSettingChange(WPARAM wParam, const std::wstring& section) override {
        sizes.push_back(StoredSize());
        RecordingSystemPort::BroadcastSettingChange(wParam, section);
    }
};

std::optional<DWORD> DialogRebuild() {
    RawValue v = RawGetValue(HKEY_CURRENT_USER, Program, L"Dialog Rebuild");
    if (!v.exists || v.type != REG_DWORD) return std::nullopt;
    return *reinterpret_cast<const DWORD*>(v.data.data());
}

} // namespace

TEST_CASE("rebuilding the icon cache: the size nudged and put back, two announcements, then the notice") {
    // A stored size that is missing (nullptr), empty, no whole number or beyond 16 bits counts as 32. The
    // notice shows unless "Dialog Rebuild" is 1; 10 reads as not stored.
    const std::optional<DWORD> none;
    for (auto [size, dialog, nudged, after, shown] : {std::tuple{L"48", none, L"49", L"48", true},
                                                      {nullptr, 0, L"33", L"32", true},
                                                      {L"", 10, L"33", L"32", true},
                                                      {L"large", 1, L"33", L"32", false},
                                                      {L"40.5", none, L"33", L"32", true},
                                                      {L"70000", none, L"33", L"32", true}}) {
        CAPTURE(size ? size : L"<missing>");
        SessionFixture f;
        SizeWatch port;
        if (size) RawSetString(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size", size);
        if (dialog) RawSetDword(HKEY_CURRENT_USER, Program, L"Dialog Rebuild", *dialog);
        Session& s = f.Load({});
        s.IconCacheDirty = true;
        RebuildIconCache(s, port, f.prompts);
        CHECK(port.sizes == std::vector<std::wstring>{nudged, after});
        CHECK(StoredSize() == after);
        CHECK(Calls(port) == L"BROADCAST 46|BROADCAST 46|ASSOCCHANGED");
        CHECK_FALSE(s.IconCacheDirty);
        REQUIRE(f.prompts.shown.size() == (shown ? 1u : 0u));
        if (!shown) continue;
        const Prompt& p = f.prompts.shown[0];
        CHECK(p.message ==
              L"Tessaly has notified Windows 95 of your changes.\n\n"
              L"Windows 95 and Windows NT contains flaws that can cause these changes to be ignored under "
              L"certain conditions.\n\n"
              L"If your changes are not applied you will need to select the \"Rebuild Icon Cache\" option "
              L"from the File menu.\n\n"
              L"For more information about this problem, please select the \"Help\" button below.");
        CHECK(p.buttons == std::array<std::wstring, 3>{L"&Help", L"OK", L""});
        CHECK(p.icon == PromptIconExclamation);
        CHECK(p.checkCaption == L"Do not show this dialog again");
        CHECK(p.width == 4600);
    }
}

TEST_CASE("a tick in the rebuild notice's box switches it off for good; without one nothing is stored") {
    SessionFixture f;
    Session& s = f.Load({});
    f.prompts.Answer(1, false);
    RebuildIconCache(s, f.system, f.prompts);
    CHECK_FALSE(DialogRebuild().has_value());
    f.prompts.Answer(1, true);
    RebuildIconCache(s, f.system, f.prompts);
    CHECK(DialogRebuild() == 1u);
    RebuildIconCache(s, f.system, f.prompts);
    CHECK(f.prompts.shown.size() == 2);
}

TEST_CASE("the restart offer") {
    for (auto [name, nt, answer, declinedBefore, calls, declinedAfter] :
         {std::tuple{"Yes on Windows NT: the shutdown privilege, then the reboot", true, 1, false,
                     L"PRIVILEGE|EXIT 2", false},
          {"Yes on Windows 95: the reboot alone", false, 1, false, L"EXIT 2", false},
          {"No: the user declined", true, 0, false, L"", true},
          {"closed: nothing happens", true, PromptResult::Closed, false, L"", false},
          {"closed: the earlier answer stands", false, PromptResult::Closed, true, L"", true}}) {
        CAPTURE(name);
        SessionFixture f;
        Session& s = f.Load({nt});
        s.RestartNeeded = true;
        s.RestartDeclined = declinedBefore;
        f.prompts.Answer(answer);
        AskRestart(s, f.system, f.prompts);
        REQUIRE(f.prompts.shown.size() == 1);
        const Prompt& p = f.prompts.shown[0];
        CHECK(p.message == L"You will need to restart your computer for one or more of these changes to take "
                           L"effect.\n\nWould you like to restart your computer now?");
        CHECK(p.buttons == std::array<std::wstring, 3>{L"No", L"Yes", L""});
        CHECK(p.icon == PromptIconQuestion);
        CHECK(p.checkCaption.empty());
        CHECK(Calls(f.system) == calls);
        CHECK(s.RestartDeclined == declinedAfter);
        CHECK_FALSE(s.RestartNeeded);
    }
}

TEST_CASE("the real announcement reaches an answering window and does not wait for a hung one") {
    static std::atomic<int> heard = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_SETTINGCHANGE && wParam == SPI_SETICONMETRICS) ++heard;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TessalyBroadcastListener";
    RegisterClassW(&wc);
    auto listener = [&] {
        return CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
    };
    // The answering window is this thread's, so the broadcast reaches it directly; the hung one's thread
    // looks at no message until it is released.
    const HWND answering = listener();
    std::latch ready(1), release(1);
    std::thread hung([&] {
        const HWND window = listener();
        ready.count_down();
        release.wait();
        DestroyWindow(window);
    });
    ready.wait();
    RealSystemPort().BroadcastSettingChange(SPI_SETICONMETRICS, {});
    CHECK(heard == 1);
    release.count_down();
    hung.join();
    DestroyWindow(answering);
}
