#pragma once
// A benchmark is a function that prints its own figures, timed against a baseline measured in the same run.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

using Function = void (*)();
struct Entry {
    const char* name;
    Function run;
};
std::vector<Entry>& All();

struct Register {
    Register(const char* name, Function run) { All().push_back({name, run}); }
};

// Wall time of one run, in microseconds.
double Micros(const std::function<void()>& work);
// The middle value of some measurements.
double Median(std::vector<double> values);
// Median wall time of `repeat` runs, in microseconds.
double MedianMicros(int repeat, const std::function<void()>& work);

void Report(const char* what, double micros, double baselineMicros);
// The middle of the rounds' own ratios, each round against the baseline measured beside it: load from
// other processes that comes and goes then weighs on both alike.
void ReportPaired(const char* what, const std::vector<double>& micros,
                  const std::vector<double>& baselineMicros);

// Wine starts its own services beside the first program of a session, and for a second or two they keep
// the registry server so busy that every registry call takes many times its usual time. Registry-bound
// measurements wait until a batch of reads takes the same time several times running.
void WaitForQuietRegistry();

// The shell objects whose icons and names the catalogue keeps, for preparing a realistic registry.
inline constexpr const wchar_t* ShellObjectClsids[] = {
    L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"{208D2C60-3AEA-1069-A2D7-08002B30309D}",
    L"{3DC7A020-0ACD-11CF-A9BB-00AA004AE837}", L"{00020D75-0000-0000-C000-000000000046}",
    L"{85BBD920-42A0-1069-A2E4-08002B30309D}", L"{21EC2020-3AEA-1069-A2DD-08002B30309D}",
    L"{a4d92740-67cd-11cf-96f2-00aa00a11dd9}", L"{2227A280-3AEA-1069-A2DE-08002B30309D}",
    L"{FF393560-C2A7-11CF-BFF4-444553540000}", L"{F5175861-2688-11d0-9C5E-00AA00A45957}",
    L"{88C6C381-2E85-11D0-94DE-444553540000}",
};

} // namespace bench

#define TESSALY_BENCH(name)                                                                                  \
    static void name();                                                                                      \
    static bench::Register name##_registered(#name, &name);                                                  \
    static void name()
