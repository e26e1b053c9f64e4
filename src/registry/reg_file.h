#pragma once
// Registry files in the registry editor's own form ("Windows Registry Editor Version 5.00", UTF-16 with a
// byte-order mark): keys in brackets, a leading minus removing a key with everything below it, then the
// key's values, "name"=- removing one. Texts are quoted, numbers dword:, anything else hex(type):.
#include "registry/registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace RegFile {

inline constexpr std::wstring_view Header = L"Windows Registry Editor Version 5.00";

struct Value {
    std::wstring name;                  // empty: the default value, written @
    std::optional<Registry::Data> data; // none: remove the value
    bool operator==(const Value&) const = default;
};

struct Section {
    std::wstring path; // a RegPath: root name in full, then the subkey
    bool remove = false;
    std::vector<Value> values;
    bool operator==(const Section&) const = default;
};

std::wstring Format(const std::vector<Section>& sections);
// No value when any line cannot be read: a file is taken whole or not at all.
std::optional<std::vector<Section>> Parse(std::wstring_view text);

// UTF-16 LE with its byte-order mark, closed by a comment line that tells a whole file from one cut short.
bool Save(const std::wstring& filePath, const std::vector<Section>& sections);
enum class LoadResult { Loaded, Missing, Damaged }; // Damaged: unreadable, cut short or not parsed
LoadResult Load(const std::wstring& filePath, std::vector<Section>& sections);

// Carries the sections out in order, as the registry editor imports them; false when any step failed
// (the rest are still done).
bool Import(const std::vector<Section>& sections);

} // namespace RegFile
