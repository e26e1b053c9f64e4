#include "apply/shell_refresh.h"
#include "prompts/messages.h"
#include "support/registry_dump.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <atomic>
#include <latch>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::wstring Metrics = L"Control Panel\\desktop\\WindowMetrics";

std::wstring StoredSize() {
    return RawText(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size");
}

// Notes the stored icon size each time the change is announced.
struct SizeWatch : RecordingSystemPort {
    Strings sizes;
    void BroadcastSettingChange(WPARAM wParam, const std::wstring& section) override {
        sizes.push_back(StoredSize());
        RecordingSystemPort::BroadcastSettingChange(wParam, section);
    }
};

} // namespace

TEST_CASE("rebuilding the icon cache: the size nudged and put back, two announcements, then the notice") {
    // A stored size that is missing (nullptr), empty, no whole number or beyond 16 bits counts as 32. The
    // notice shows unless "Dialog Rebuild" is 1; 10 reads as not stored.
    const std::optional<DWORD> none;
    for (auto [size, dialog, nudged, after, shown] : {std::tuple{L"48", none, L"49", L"48", true},
                                                      {nullptr, 0, L"33", L"32", true},
                                                      {L"", 10, L"33", L"32", true},
                                                      {L"large", 1, L"33", L"32", false},
                                                      {L"70000", none, L"33", L"32", true}}) {
        CAPTURE(size ? size : L"<missing>");
        SessionFixture f;
        SizeWatch port;
        if (size) RawSetString(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size", size);
        if (dialog) RawSetDword(HKEY_CURRENT_USER, ProgramSubkey, L"Dialog Rebuild", *dialog);
        Session& s = f.Load({});
        s.IconCacheDirty = true;
        RebuildIconCache(s, port, f.prompts);
        CHECK(port.sizes == Strings{nudged, after});
        CHECK(StoredSize() == after);
        CHECK(Calls(port) == L"BROADCAST 46|BROADCAST 46|ASSOCCHANGED");
        CHECK_FALSE(s.IconCacheDirty);
        const auto notice = MessageOf([](PromptPort& p) { Messages::ShowRebuildNotice(p, L"Windows 95"); });
        CHECK(f.prompts.ShownMessages() == Strings(shown ? 1 : 0, notice));
    }
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
        CHECK(f.prompts.ShownMessages() == Strings{MessageOf(Messages::AskRestart)});
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
