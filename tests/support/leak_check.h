#pragma once
// Live handle counts of every kind, to check that an operation leaves them where they were; and the
// registry layer's writes in the order made.
#include "platform/unique_handle.h"
#include "registry/registry.h"

#include <doctest/doctest.h>

#include <array>
#include <string>
#include <vector>

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

// While alive, records "operation path|name" for every write and delete.
class WriteRecorder {
public:
    WriteRecorder() {
        current_ = this;
        Registry::SetWriteWatcher(&Record);
    }
    ~WriteRecorder() {
        Registry::SetWriteWatcher(nullptr);
        current_ = nullptr;
    }
    WriteRecorder(const WriteRecorder&) = delete;
    WriteRecorder& operator=(const WriteRecorder&) = delete;

    std::vector<std::wstring> writes;

private:
    static void Record(std::wstring_view operation, const std::wstring& path, const std::wstring& name) {
        if (current_) current_->writes.push_back(std::wstring(operation) + L" " + path + L"|" + name);
    }
    static inline WriteRecorder* current_ = nullptr;
};
