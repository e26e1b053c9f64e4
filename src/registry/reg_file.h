#pragma once
// Registry files in the registry editor's own form ("Windows Registry Editor Version 5.00", UTF-16 with a
// byte-order mark): keys in brackets, a leading minus removing a key with everything below it, then the
// key's values, "name"=- removing one. Texts are quoted, numbers dword:, anything else hex(type):.
#include "platform/unique_handle.h"
#include "registry/registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
// With `keep`, the file stays open there, with the right to delete it where the system grants it.
LoadResult Load(const std::wstring& filePath, std::vector<Section>& sections,
                UniqueKernelHandle* keep = nullptr);

// Carries the sections out in order, as the registry editor imports them; false when any step failed
// (the rest are still done).
bool Import(const std::vector<Section>& sections);

// What the registry holds once sections are imported without a failure, as far as they tell, so that a
// reader need not ask again. A key has other names (the classes key is also the machine's and the user's
// Software\Classes): what sections change under another name of a key is only known by reading it.
// Made before the import, which it does not do: a key removed above one of those names reaches the
// classes key only if that name stands then.
class Outcome {
public:
    // Refers to the sections' data, which must outlive it.
    explicit Outcome(const std::vector<Section>& sections);
    explicit Outcome(std::vector<Section>&&) = delete;

    enum class Kind {
        Unchanged, // no section touches the value
        Known,     // data, or none when the value is gone
        Unknown,   // touched under another name of its key, or by a key outside the three usual roots
    };
    struct State {
        Kind kind = Kind::Unchanged;
        const Registry::Data* data = nullptr; // none when the value is gone, or not known
    };
    State Find(std::wstring_view keyPath, std::wstring_view name) const;
    // The text Registry::ReadString gives now for a value the sections touch (read again when unknown);
    // none for one they leave alone.
    std::optional<std::wstring> Text(const std::wstring& keyPath, const std::wstring& name) const;

private:
    struct Key {
        std::wstring path, same; // in lower case; same with the other names of the key made one
    };
    struct Step {
        size_t order = 0;
        size_t key = 0; // in keys_
        const Registry::Data* data = nullptr;
        bool abovePresentClasses = false; // a removal above a name of the classes key that exists
    };
    std::vector<Key> keys_; // one for each section
    std::vector<Step> removals_;
    std::unordered_map<std::wstring, std::vector<Step>> values_; // by value name in lower case
    bool foreignRoot_ = false;
    // The name looked for in lower case; the key last looked for as asked, in lower case, and with the
    // classes key's names made one, and the last removal that reaches it. A refresh asks hundreds of
    // times, mostly of a few keys in turn: new copies and the removals looked at again cost more.
    mutable std::wstring name_, asked_, key_, same_;
    mutable bool keyKnown_ = false;
    mutable State removed_; // Unchanged when no removal reaches the key
    mutable size_t removalOrder_ = 0;
};

} // namespace RegFile
