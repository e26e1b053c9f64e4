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

double MedianMicros(int repeat, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
