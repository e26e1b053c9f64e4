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

// Median wall time of `repeat` runs, in microseconds.
double MedianMicros(int repeat, const std::function<void()>& work);

void Report(const char* what, double micros, double baselineMicros);

} // namespace bench

#define TESSALY_BENCH(name)                                                                                  \
    static void name();                                                                                      \
    static bench::Register name##_registered(#name, &name);                                                  \
    static void name()
