// Filling the icon picker: every icon of a file in one pass against one ExtractIconW per icon, on the
// system's shell32.dll and on a library of 2,000 icons; then the picker itself shown and scrolled end to end.
#include "bench.h"
#include "controls/common_dialog.h"
#include "controls/file_icons.h"
#include "ui/change_icon_dialog.h"

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// What a picker filling its grid one icon at a time would do.
void ExtractOneByOne(const std::wstring& file) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const UINT count =
        static_cast<UINT>(reinterpret_cast<UINT_PTR>(ExtractIconW(instance, file.c_str(), ~0u)));
    for (UINT i = 0; i < count; ++i) DestroyIcon(ExtractIconW(instance, file.c_str(), i));
}

void CompareFills(const char* what, const std::wstring& file, int repeat) {
    std::vector<double> batch, single;
    size_t icons = 0;
    // Turns taken so that both see the same load on a shared machine.
    for (int i = 0; i < repeat; ++i) {
        single.push_back(bench::Micros([&] { ExtractOneByOne(file); }));
        batch.push_back(bench::Micros([&] {
            FileIcons all;
            icons = static_cast<size_t>(all.Load(file));
        }));
    }
    std::printf("  %zu icons\n", icons);
    bench::Report(what, bench::Median(batch), bench::Median(single));
}

std::wstring BesideProgram(const wchar_t* name) {
    wchar_t exe[MAX_PATH]{};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH]{};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

// From ChooseIcon until the grid has painted, then every page scrolled and painted.
void ShowAndScroll(const std::wstring& file) {
    CommonDialog browse;
    std::vector<double> shown;
    double scrolled = 0;
    int pages = 0, reads = 0;
    for (int i = 0; i < 5; ++i) {
        frmChangeIcon picker(browse);
        const auto start = std::chrono::steady_clock::now();
        picker.OnShown = [&](frmChangeIcon& d) {
            shown.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
            HWND scroll = GetDlgItem(d.hwnd(), frmChangeIcon::IdScroll);
            pages = 0;
            scrolled = bench::Micros([&] {
                while (d.grid().ScrollValue() < d.grid().ScrollMax()) {
                    SendMessageW(d.hwnd(), WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(scroll));
                    UpdateWindow(d.lstMain());
                    ++pages;
                }
            });
            reads = d.FileReads();
            PostMessageW(d.hwnd(), WM_COMMAND, IDCANCEL, 0);
        };
        picker.ChooseIcon(nullptr, file, 0);
    }
    std::printf("  picker shown and painted: median %.1f ms over 5 runs\n", bench::Median(shown) / 1000);
    std::printf("  %d pages scrolled and painted in %.1f ms (%.1f us a page); file reads in all: %d\n", pages,
                scrolled / 1000, pages ? scrolled / pages : 0.0, reads);
}

} // namespace

TESSALY_BENCH(icon_picker_fill) {
    const std::wstring shell32 = SystemFile(L"shell32.dll");
    const std::wstring many = BesideProgram(L"many_icons.dll");
    CompareFills("shell32.dll: one pass vs ExtractIconW per icon", shell32, 9);
    CompareFills("2,000 icons: one pass vs ExtractIconW per icon", many, 5);
    std::printf("  shell32.dll in the picker\n");
    ShowAndScroll(shell32);
    std::printf("  2,000 icons in the picker\n");
    ShowAndScroll(many);
}
