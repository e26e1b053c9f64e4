#include "apply/shell_refresh.h"
#include "registry/registry.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::wstring Metrics = L"Control Panel\\desktop\\WindowMetrics";
const std::wstring Program = L"Software\\Korvath\\Tessaly\\2.0\\Settings";

const std::wstring RebuildNotice =
    L"Tessaly has notified Windows 95 of your changes.\n\n"
    L"Windows 95 and Windows NT contains flaws that can cause these changes to be ignored under certain "
    L"conditions.\n\n"
    L"If your changes are not applied you will need to select the \"Rebuild Icon Cache\" option from the "
    L"File "
    L"menu.\n\n"
    L"For more information about this problem, please select the \"Help\" button below.";
const std::wstring RestartQuestion =
    L"You will need to restart your computer for one or more of these changes to "
    L"take effect.\n\nWould you like to restart your computer now?";

std::wstring StoredSize() {
    RawValue v = RawGetValue(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size");
    if (!v.exists) return L"<none>";
    std::wstring s(reinterpret_cast<const wchar_t*>(v.data.data()), v.data.size() / sizeof(wchar_t));
    if (!s.empty() && s.back() == L'\0') s.pop_back();
    return s;
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

TEST_CASE("rebuilding the icon cache nudges the icon size and puts it back") {
    SessionFixture f;
    SizeWatch port;

    SUBCASE("48 becomes 49 for the first announcement and 48 again for the second") {
        RawSetString(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size", L"48");
        Session& s = f.Load({false, false, L"Error"});
        RebuildIconCache(s, port, f.prompts);
        CHECK(port.sizes == std::vector<std::wstring>{L"49", L"48"});
        CHECK(StoredSize() == L"48");
    }
    SUBCASE("missing: 33, then 32 stays") {
        Session& s = f.Load({false, false, L"Error"});
        RebuildIconCache(s, port, f.prompts);
        CHECK(port.sizes == std::vector<std::wstring>{L"33", L"32"});
        CHECK(StoredSize() == L"32");
    }
    SUBCASE("empty, not a number or beyond 16 bits: as missing") {
        const wchar_t* stored = nullptr;
        SUBCASE("empty") {
            stored = L"";
        }
        SUBCASE("letters") {
            stored = L"large";
        }
        SUBCASE("a fraction") {
            stored = L"32.5";
        }
        SUBCASE("too big") {
            stored = L"70000";
        }
        RawSetString(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size", stored);
        Session& s = f.Load({false, false, L"Error"});
        RebuildIconCache(s, port, f.prompts);
        CHECK(port.sizes == std::vector<std::wstring>{L"33", L"32"});
        CHECK(StoredSize() == L"32");
    }
    SUBCASE("the shell hears of it twice, then that associations changed") {
        Session& s = f.Load({true, false, L"Error"});
        s.IconCacheDirty = true;
        RebuildIconCache(s, port, f.prompts);
        CHECK(port.calls == std::vector<std::wstring>{L"BROADCAST 46", L"BROADCAST 46", L"ASSOCCHANGED"});
        CHECK_FALSE(s.IconCacheDirty);
    }
}

TEST_CASE("the rebuild notice") {
    SessionFixture f;

    SUBCASE("shown while not switched off, with its exact text, buttons, icon, box and width") {
        SUBCASE("never answered") {}
        SUBCASE("stored 0") {
            RawSetDword(HKEY_CURRENT_USER, Program, L"Dialog Rebuild", 0);
        }
        SUBCASE("stored 10, which reads as not stored") {
            RawSetDword(HKEY_CURRENT_USER, Program, L"Dialog Rebuild", 10);
        }
        Session& s = f.Load({false, false, L"Error"});
        s.IconCacheDirty = true;
        RebuildIconCache(s, f.system, f.prompts);
        REQUIRE(f.prompts.shown.size() == 1);
        const Prompt& p = f.prompts.shown[0];
        CHECK(p.message == RebuildNotice);
        CHECK(p.buttons == std::array<std::wstring, 3>{L"&Help", L"OK", L""});
        CHECK(p.icon == PromptIconExclamation);
        CHECK(p.checkCaption == L"Do not show this dialog again");
        CHECK(p.width == 4600);
        CHECK_FALSE(s.IconCacheDirty);
    }
    SUBCASE("names the system it runs on") {
        Session& s = f.Load({true, false, L"Error"});
        RebuildIconCache(s, f.system, f.prompts);
        REQUIRE(f.prompts.shown.size() == 1);
        CHECK(
            f.prompts.shown[0].message.starts_with(L"Tessaly has notified Windows NT of your changes.\n\n"));
    }
    SUBCASE("a tick in the box switches it off for good") {
        Session& s = f.Load({false, false, L"Error"});
        f.prompts.Answer(1, true);
        RebuildIconCache(s, f.system, f.prompts);
        CHECK(DialogRebuild() == 1u);
        RebuildIconCache(s, f.system, f.prompts);
        CHECK(f.prompts.shown.size() == 1);
    }
    SUBCASE("without a tick nothing is stored") {
        Session& s = f.Load({false, false, L"Error"});
        f.prompts.Answer(1, false);
        RebuildIconCache(s, f.system, f.prompts);
        CHECK_FALSE(DialogRebuild().has_value());
    }
    SUBCASE("switched off (1): the rebuild happens, no notice, the flag is clear") {
        RawSetDword(HKEY_CURRENT_USER, Program, L"Dialog Rebuild", 1);
        RawSetString(HKEY_CURRENT_USER, Metrics, L"Shell Icon Size", L"48");
        Session& s = f.Load({false, false, L"Error"});
        s.IconCacheDirty = true;
        RebuildIconCache(s, f.system, f.prompts);
        CHECK(f.prompts.shown.empty());
        CHECK(f.system.calls == std::vector<std::wstring>{L"BROADCAST 46", L"BROADCAST 46", L"ASSOCCHANGED"});
        CHECK_FALSE(s.IconCacheDirty);
        CHECK(StoredSize() == L"48");
    }
}

TEST_CASE("the restart offer") {
    SessionFixture f;

    auto ask = [&](bool nt, int answer, bool declinedBefore) -> Session& {
        Session& s = f.Load({nt, false, L"Error"});
        s.RestartNeeded = true;
        s.RestartDeclined = declinedBefore;
        f.prompts.Answer(answer);
        AskRestart(s, f.system, f.prompts);
        REQUIRE(f.prompts.shown.size() == 1);
        CHECK(f.prompts.shown[0].message == RestartQuestion);
        CHECK(f.prompts.shown[0].buttons == std::array<std::wstring, 3>{L"No", L"Yes", L""});
        CHECK(f.prompts.shown[0].icon == PromptIconQuestion);
        CHECK(f.prompts.shown[0].checkCaption.empty());
        CHECK_FALSE(s.RestartNeeded);
        return s;
    };

    SUBCASE("Yes on Windows NT: the shutdown privilege first, then the reboot") {
        Session& s = ask(true, 1, false);
        CHECK(f.system.calls == std::vector<std::wstring>{L"PRIVILEGE", L"EXIT 2"});
        CHECK_FALSE(s.RestartDeclined);
    }
    SUBCASE("Yes on Windows 95: the reboot alone") {
        Session& s = ask(false, 1, false);
        CHECK(f.system.calls == std::vector<std::wstring>{L"EXIT 2"});
        CHECK_FALSE(s.RestartDeclined);
    }
    SUBCASE("No: no restart, and the user declined") {
        Session& s = ask(true, 0, false);
        CHECK(f.system.calls.empty());
        CHECK(s.RestartDeclined);
    }
    SUBCASE("closed without a button: nothing happens and the earlier answer stands") {
        SUBCASE("not declined before") {
            Session& s = ask(true, PromptResult::Closed, false);
            CHECK_FALSE(s.RestartDeclined);
        }
        SUBCASE("declined before") {
            Session& s = ask(false, PromptResult::Closed, true);
            CHECK(s.RestartDeclined);
        }
        CHECK(f.system.calls.empty());
    }
}

namespace {

// A top-level window on a thread of its own that either answers messages or, hung, does not look at them
// until it is released.
class WindowThread {
public:
    explicit WindowThread(bool hung) : hung_(hung) {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] { Run(); });
        WaitForSingleObject(ready_, INFINITE);
    }
    ~WindowThread() {
        SetEvent(release_);
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
        CloseHandle(ready_);
        CloseHandle(release_);
    }
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    int Heard() const { return heard_.load(); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<WindowThread*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_SETTINGCHANGE && wParam == SPI_SETICONMETRICS && self) ++self->heard_;
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void Run() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TessalyBroadcastListener";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetEvent(ready_);
        if (hung_) WaitForSingleObject(release_, INFINITE); // looks at no message meanwhile
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }

    bool hung_;
    HANDLE ready_ = nullptr;
    HANDLE release_ = nullptr;
    HWND window_ = nullptr;
    std::atomic<int> heard_{0};
    std::thread thread_;
};

} // namespace

TEST_CASE("the real announcement reaches answering windows and does not wait for a hung one") {
    WindowThread answering(false);
    WindowThread hung(true);
    RealSystemPort system;
    system.BroadcastSettingChange(SPI_SETICONMETRICS, {});
    CHECK(answering.Heard() == 1);
    CHECK(hung.Heard() == 0);
}
