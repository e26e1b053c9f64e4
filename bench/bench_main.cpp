#include "bench.h"

#include <windows.h>
#include <commctrl.h>

#include <commctrl.h> // after windows.h, which it needs

#include <commctrl.h> // needs windows.h first

#include <algorithm>
#include <cstring>

namespace bench {

std::vector<Entry>& All() {
    static std::vector<Entry> entries;
    return entries;
}

double Micros(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MedianMicros(int repeat, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) times.push_back(Micros(work));
    return Median(std::move(times));
}

void Report(const char* what, double micros, double baselineMicros) {
    std::printf("  %-58s %10.1f us   baseline %10.1f us   ratio %5.2f\n", what, micros, baselineMicros,
                baselineMicros > 0 ? micros / baselineMicros : 0.0);
    std::fflush(stdout);
}

} // namespace bench

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    for (const auto& entry : bench::All()) {
        if (argc > 1 && std::strstr(entry.name, argv[1]) == nullptr) continue;
        std::printf("%s\n", entry.name);
        entry.run();
    }
    return 0;
}
