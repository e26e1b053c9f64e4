// Redrawing a full icon list: unchanged files should cost no disk reads, changed files what reading them
// costs.
#include "bench.h"
#include "controls/list_box_icons.h"
#include "platform/file_icon.h"
#include "support/icon_files.h"

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Rows = IconListModel::Capacity;
constexpr int Repeat = 101;

struct Host {
    Host() {
        hwnd = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400,
                               400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~Host() { DestroyWindow(hwnd); }
    HWND hwnd;
};

// The machine is shared, so the baseline and the measured work take turns: both see the same load.
struct Paired {
    std::vector<double> work, baseline;
    void Report(const char* what) const { bench::Report(what, bench::Median(work), bench::Median(baseline)); }
};

void ExtractAll(const std::vector<std::wstring>& files, const std::vector<int>& indexes) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (size_t i = 0; i < files.size(); ++i)
        DestroyIcon(ExtractIconW(instance, files[i].c_str(), indexes[i]));
}

} // namespace

TESSALY_BENCH(list_box_refresh) {
    TempMachine machine;
    std::vector<std::wstring> files;
    std::vector<int> zeros(Rows, 0);
    auto write = [&](int i, COLORREF colour) {
        return machine.Write(machine.root, L"icon" + std::to_wstring(i) + L".ico",
                             ColourIconBytes({{colour}}));
    };
    for (int i = 0; i < Rows; ++i) files.push_back(write(i, RGB(i * 13, 255 - i * 13, 128)));
    Host host;
    IconListModel model;
    ListBoxIcons view(model);
    if (!view.Create(host.hwnd, 1, 0, 0, 300, 304)) return;
    for (int i = 0; i < Rows; ++i)
        model.AddItem(L"Item " + std::to_wstring(i), files[i], 0, L"k" + std::to_wstring(i));
    model.SelItemKey(L"k0");
    model.ListRefresh();

    const auto loadsBefore = view.pictures().loads();
    Paired unchanged;
    for (int r = 0; r < Repeat; ++r) {
        unchanged.baseline.push_back(bench::Micros([&] { ExtractAll(files, zeros); }));
        unchanged.work.push_back(bench::Micros([&] { model.ListRefresh(); }));
    }
    unchanged.Report("ListRefresh, 19 unchanged .ico files");
    std::printf("    file reads per refresh: %.1f\n", double(view.pictures().loads() - loadsBefore) / Repeat);

    // Rewriting the files is left out of the time; only what follows is measured. The baseline extracts the
    // freshly written files just as the refresh has to.
    auto rewrite = [&](int round) {
        for (int i = 0; i < Rows; ++i) write(i, RGB((i + round) * 13, 255 - i * 13, round % 2 ? 0 : 255));
    };
    const auto loadsBeforeChanges = view.pictures().loads();
    Paired changed;
    for (int r = 0; r < Repeat; ++r) {
        rewrite(2 * r);
        changed.baseline.push_back(bench::Micros([&] { ExtractAll(files, zeros); }));
        rewrite(2 * r + 1);
        changed.work.push_back(bench::Micros([&] { model.ListRefresh(); }));
    }
    changed.Report("ListRefresh, 19 .ico files rewritten before each");
    std::printf("    file reads per refresh: %.1f\n",
                double(view.pictures().loads() - loadsBeforeChanges) / Repeat);
}

TESSALY_BENCH(list_box_refresh_shell32) {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring shell32 = std::wstring(system) + L"\\shell32.dll";
    std::vector<std::wstring> files(Rows, shell32);
    std::vector<int> indexes;
    Host host;
    IconListModel model;
    ListBoxIcons view(model);
    if (!view.Create(host.hwnd, 1, 0, 0, 300, 304)) return;
    for (int i = 0; i < Rows; ++i) {
        indexes.push_back(i + 3);
        model.AddItem(L"Item " + std::to_wstring(i), shell32, static_cast<std::int16_t>(i + 3),
                      L"k" + std::to_wstring(i));
    }
    model.SelItemKey(L"k0");
    model.ListRefresh();
    Paired unchanged;
    for (int r = 0; r < Repeat; ++r) {
        unchanged.baseline.push_back(bench::Micros([&] { ExtractAll(files, indexes); }));
        unchanged.work.push_back(bench::Micros([&] { model.ListRefresh(); }));
    }
    unchanged.Report("ListRefresh, 19 icons of shell32.dll, unchanged");

    // What a list's first draw reads: each icon from the library, the file opened once for them all.
    Paired first;
    for (int r = 0; r < Repeat; ++r) {
        first.baseline.push_back(bench::Micros([&] { ExtractAll(files, indexes); }));
        first.work.push_back(bench::Micros([&] {
            const IconFileBatch once;
            for (int i = 0; i < Rows; ++i) DestroyIcon(ExtractFileIcon(shell32, indexes[i]));
        }));
    }
    first.Report("19 icons of shell32.dll read for a first draw");
}
