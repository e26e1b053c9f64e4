#pragma once
// Live handle counts of every kind, to check that an operation leaves them where they were.
#include "platform/unique_handle.h"

#include <doctest/doctest.h>

#include <array>
#include <string>

using HandleCounts = std::array<long, static_cast<size_t>(HandleKind::Count)>;

inline HandleCounts LiveHandleCounts() {
    HandleCounts counts{};
    for (size_t i = 0; i < counts.size(); ++i) counts[i] = LiveHandles(static_cast<HandleKind>(i));
    return counts;
}

namespace doctest {
template <> struct StringMaker<HandleCounts> {
    static String convert(const HandleCounts& counts) {
        std::string out = "live handles by kind:";
        for (long count : counts) out.append(" ").append(std::to_string(count));
        return out.c_str();
    }
};
} // namespace doctest
