// Start to main window shown, splash off, against a minimal program with a tab strip and a line of text
// started the same way in the same run; then where Tessaly's start-up time goes, step by step.
#include "bench.h"

#include "icons/catalogue_variants.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "session/session.h"
#include "support/scripted_ports.h"
#include "ui/main_window.h"
#include "ui/startup.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Rounds = 9;

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring BuildFolder() {
    std::wstring path = ModulePath(); // build\bench\tessaly_bench.exe
    path.resize(path.rfind(L'\\'));
    path.resize(path.rfind(L'\\') + 1);
    return path;
}

struct Found {
    DWORD pid;
    HWND window;
};

HWND VisibleWindowOf(DWORD pid) {
    Found found{pid, nullptr};
    EnumWindows(
        [](HWND w, LPARAM param) {
            auto* f = reinterpret_cast<Found*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != f->pid || !IsWindowVisible(w)) return TRUE;
            f->window = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// Milliseconds from starting the program until its window is shown and it waits for input; then closes it.
double TimeStart(const std::wstring& program) {
    std::wstring line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForInputIdle(process.hProcess, 30000);
    HWND window = nullptr;
    while (!(window = VisibleWindowOf(process.dwProcessId)) && MillisSince(start) < 30000) Sleep(1);
    const double elapsed = MillisSince(start);
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return window ? elapsed : -1;
}

} // namespace

TESSALY_BENCH(startup) {
    // Tessaly keeps its preferences in the registry the started copy reads: splash off for the run.
    const std::wstring tessalyKey = L"HKEY_CURRENT_USER\\Software\\Korvath\\Tessaly";
    Registry::WriteDword(ProgramSettingsKey, SplashValue, 0);

    // Tessaly reads the registry as it starts and the floor does not: neither is timed while Wine's own
    // start-up keeps the registry busy.
    bench::WaitForQuietRegistry();
    const std::wstring folder = BuildFolder();
    std::vector<double> floor, tessaly;
    TimeStart(folder + L"bench\\startup_floor.exe"); // the first start of any program loads the most
    TimeStart(folder + L"Tessaly.exe");
    for (int round = 0; round < Rounds; ++round) {
        floor.push_back(TimeStart(folder + L"bench\\startup_floor.exe"));
        tessaly.push_back(TimeStart(folder + L"Tessaly.exe"));
    }
    const double floorMs = bench::Median(floor), tessalyMs = bench::Median(tessaly);
    bench::Report("start to main window shown (median of 9)", tessalyMs * 1000, floorMs * 1000);
    bench::ReportPaired("start to main window shown, each start against the floor's beside it", tessaly,
                        floor);
    // On a shared machine the fastest start is the one least disturbed by others.
    bench::Report("start to main window shown (fastest of 9)",
                  *std::min_element(tessaly.begin(), tessaly.end()) * 1000,
                  *std::min_element(floor.begin(), floor.end()) * 1000);

    // The same start inside this process, step by step.
    std::map<std::string, std::vector<double>> steps;
    std::vector<std::string> order;
    auto record = [&](const std::string& step, Clock::time_point& since) {
        if (!steps.contains(step)) order.push_back(step);
        steps[step].push_back(MillisSince(since));
        since = Clock::now();
    };
    for (int round = 0; round < Rounds; ++round) {
        auto since = Clock::now();
        StartupFacts facts = FindStartupFacts();
        record("start-up facts", since);
        CatalogueVariants variants = FindCatalogueVariants(facts);
        Session session(std::move(facts), std::move(variants));
        session.Load();
        record("session: settings read", since);
        RecordingSystemPort system;
        ScriptedPromptPort prompts;
        MainWindow main(session, system, prompts);
        main.StartupStepDone = [&](const char* step) { record(std::string("window: ") + step, since); };
        main.Create();
        UpdateWindow(main.hwnd());
        record("window: first paint", since);
        DestroyWindow(main.hwnd());
        MSG msg; // the window's quit message is not for this program
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    }
    for (const auto& step : order)
        std::printf("    %-40s %8.1f ms\n", step.c_str(), bench::Median(steps[step]));
    Registry::DeleteKey(tessalyKey + L"\\2.0", L"Settings");
}
