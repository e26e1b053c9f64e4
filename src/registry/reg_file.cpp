#include "registry/reg_file.h"

#include "platform/text.h"
#include "platform/unique_handle.h"

#include <algorithm>
#include <cstring>
#include <deque>

namespace RegFile {
namespace {

constexpr size_t WrapColumn = 76; // as the registry editor wraps long hex data
// The last line of a saved file; the registry editor skips it as a comment.
constexpr std::wstring_view EndLine = L"\r\n; End of record\r\n";

std::wstring Quote(std::wstring_view s) {
    std::wstring out = L"\"";
    for (wchar_t c : s) {
        if (c == L'\\' || c == L'"') out += L'\\';
        out += c;
    }
    return out + L"\"";
}

// A text that reads back to exactly these bytes: one terminating zero, no other, no line breaks.
std::optional<std::wstring> AsPlainText(const Registry::Data& d) {
    if (d.type != REG_SZ || d.bytes.size() % 2 || d.bytes.size() < 2) return std::nullopt;
    std::wstring s(reinterpret_cast<const wchar_t*>(d.bytes.data()), d.bytes.size() / 2);
    if (s.back() != L'\0') return std::nullopt;
    s.pop_back();
    if (s.find_first_of(std::wstring_view(L"\0\r\n", 3)) != s.npos) return std::nullopt;
    return s;
}

std::wstring FormatData(const Registry::Data& d, size_t column) {
    if (auto text = AsPlainText(d)) return Quote(*text);
    if (d.type == REG_DWORD && d.bytes.size() == 4) {
        wchar_t buffer[16];
        DWORD n = 0;
        std::memcpy(&n, d.bytes.data(), 4);
        std::swprintf(buffer, 16, L"dword:%08lx", static_cast<unsigned long>(n));
        return buffer;
    }
    wchar_t buffer[16];
    if (d.type == REG_BINARY)
        std::swprintf(buffer, 16, L"hex:");
    else
        std::swprintf(buffer, 16, L"hex(%lx):", static_cast<unsigned long>(d.type));
    std::wstring out = buffer;
    column += out.size();
    for (size_t i = 0; i < d.bytes.size(); ++i) {
        std::swprintf(buffer, 16, L"%02x", std::to_integer<unsigned>(d.bytes[i]));
        out += buffer;
        column += 2;
        if (i + 1 == d.bytes.size()) break;
        out += L',';
        if (++column >= WrapColumn) {
            out += L"\\\r\n  ";
            column = 2;
        }
    }
    return out;
}

// --- Reading

struct Cursor {
    std::wstring_view s;
    size_t at = 0;
    bool Done() const { return at >= s.size(); }
    bool Take(std::wstring_view prefix) {
        if (s.substr(at).starts_with(prefix)) {
            at += prefix.size();
            return true;
        }
        return false;
    }
};

std::optional<std::wstring> ReadQuoted(Cursor& c) {
    if (!c.Take(L"\"")) return std::nullopt;
    std::wstring out;
    while (!c.Done()) {
        wchar_t ch = c.s[c.at++];
        if (ch == L'"') return out;
        if (ch == L'\\') {
            if (c.Done()) return std::nullopt;
            ch = c.s[c.at++];
            if (ch != L'\\' && ch != L'"') return std::nullopt;
        }
        out += ch;
    }
    return std::nullopt;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

std::optional<unsigned long> ReadHexNumber(Cursor& c, size_t maxDigits) {
    unsigned long n = 0;
    size_t digits = 0;
    while (!c.Done() && HexDigit(c.s[c.at]) >= 0 && digits < maxDigits)
        n = n * 16 + HexDigit(c.s[c.at++]), ++digits;
    if (!digits) return std::nullopt;
    return n;
}

std::optional<Registry::Bytes> ReadHexBytes(Cursor& c) {
    Registry::Bytes out;
    if (c.Done()) return out;
    for (;;) {
        if (c.at + 2 > c.s.size() || HexDigit(c.s[c.at]) < 0 || HexDigit(c.s[c.at + 1]) < 0)
            return std::nullopt;
        out.push_back(std::byte(HexDigit(c.s[c.at]) * 16 + HexDigit(c.s[c.at + 1])));
        c.at += 2;
        if (c.Done()) return out;
        if (!c.Take(L",")) return std::nullopt;
    }
}

std::optional<std::optional<Registry::Data>> ReadData(Cursor& c) {
    if (c.Take(L"-")) return std::optional<Registry::Data>{};
    if (c.s.substr(c.at).starts_with(L"\"")) {
        auto text = ReadQuoted(c);
        if (!text) return std::nullopt;
        text->push_back(L'\0');
        const auto* first = reinterpret_cast<const std::byte*>(text->data());
        return Registry::Data{REG_SZ, Registry::Bytes(first, first + text->size() * sizeof(wchar_t))};
    }
    if (c.Take(L"dword:")) {
        const size_t start = c.at;
        auto n = ReadHexNumber(c, 8);
        if (!n || c.at - start != 8) return std::nullopt;
        const auto value = static_cast<DWORD>(*n);
        const auto* first = reinterpret_cast<const std::byte*>(&value);
        return Registry::Data{REG_DWORD, Registry::Bytes(first, first + 4)};
    }
    DWORD type = REG_BINARY;
    if (c.Take(L"hex(")) {
        auto n = ReadHexNumber(c, 8);
        if (!n || !c.Take(L")")) return std::nullopt;
        type = static_cast<DWORD>(*n);
    } else if (!c.Take(L"hex")) {
        return std::nullopt;
    }
    if (!c.Take(L":")) return std::nullopt;
    auto bytes = ReadHexBytes(c);
    if (!bytes) return std::nullopt;
    return Registry::Data{type, std::move(*bytes)};
}

std::optional<Value> ReadValueLine(std::wstring_view line) {
    Cursor c{line};
    Value v;
    if (!c.Take(L"@")) {
        auto name = ReadQuoted(c);
        if (!name) return std::nullopt;
        v.name = std::move(*name);
    }
    if (!c.Take(L"=")) return std::nullopt;
    auto data = ReadData(c);
    if (!data || !c.Done()) return std::nullopt;
    v.data = std::move(*data);
    return v;
}

// A key the file may name: a known root, no empty parts.
bool IsKeyPath(const std::wstring& path) {
    const size_t slash = path.find(L'\\');
    if (!Registry::RootKeyFromName(std::wstring_view(path).substr(0, slash))) return false;
    return path.find(L"\\\\") == path.npos && path.back() != L'\\';
}

std::wstring_view TrimRight(std::wstring_view s) {
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t' || s.back() == L'\r')) s.remove_suffix(1);
    return s;
}

} // namespace

std::wstring Format(const std::vector<Section>& sections) {
    std::wstring out = std::wstring(Header) + L"\r\n";
    for (const Section& section : sections) {
        out += L"\r\n[" + std::wstring(section.remove ? L"-" : L"") + section.path + L"]\r\n";
        for (const Value& v : section.values) {
            std::wstring line = v.name.empty() ? L"@" : Quote(v.name);
            line += L'=';
            line += v.data ? FormatData(*v.data, line.size()) : L"-";
            out += line + L"\r\n";
        }
    }
    return out;
}

std::optional<std::vector<Section>> Parse(std::wstring_view text) {
    // Lines stay in the text but for those continued over several, which are joined apart.
    std::vector<std::wstring_view> lines;
    std::deque<std::wstring> joined;
    for (size_t at = 0; at <= text.size();) {
        size_t end = text.find(L'\n', at);
        if (end == text.npos) end = text.size();
        std::wstring_view line = TrimRight(text.substr(at, end - at));
        // A line ending in a backslash goes on in the next one, less its indent.
        if (!lines.empty() && !lines.back().empty() && lines.back().back() == L'\\') {
            if (joined.empty() || lines.back().data() != joined.back().data())
                joined.emplace_back(lines.back());
            std::wstring& whole = joined.back();
            whole.pop_back();
            while (!line.empty() && (line.front() == L' ' || line.front() == L'\t')) line.remove_prefix(1);
            whole += line;
            lines.back() = whole;
        } else {
            lines.push_back(line);
        }
        at = end + 1;
    }

    std::vector<Section> sections;
    bool header = false;
    for (const std::wstring_view line : lines) {
        if (line.empty() || line.front() == L';') continue;
        if (!header) {
            if (line != Header) return std::nullopt;
            header = true;
            continue;
        }
        if (line.front() == L'[') {
            if (line.back() != L']') return std::nullopt;
            Section section;
            section.remove = line.size() > 1 && line[1] == L'-';
            section.path =
                std::wstring(line.substr(section.remove ? 2 : 1, line.size() - (section.remove ? 3 : 2)));
            if (section.path.empty() || !IsKeyPath(section.path)) return std::nullopt;
            sections.push_back(std::move(section));
            continue;
        }
        if (sections.empty() || sections.back().remove) return std::nullopt;
        auto value = ReadValueLine(line);
        if (!value) return std::nullopt;
        sections.back().values.push_back(std::move(*value));
    }
    if (!header) return std::nullopt;
    return sections;
}

bool Save(const std::wstring& filePath, const std::vector<Section>& sections) {
    const std::wstring text = L"\xFEFF" + Format(sections) + std::wstring(EndLine);
    // Always written as a new file: one cut short lacks its last line and is never taken for a whole one. An
    // old one is deleted rather than emptied: some file systems put a file emptied and written again on disk
    // at once, and emptying or deleting it later waits for the disk.
    HANDLE raw =
        CreateFileW(filePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS)
        raw = CreateFileW(filePath.c_str(), GENERIC_WRITE, 0, nullptr,
                          DeleteFileW(filePath.c_str()) ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    UniqueKernelHandle file(raw);
    const auto size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    if (WriteFile(file.get(), text.data(), size, &written, nullptr) && written == size) return true;
    file.reset();
    DeleteFileW(filePath.c_str());
    return false;
}

LoadResult Load(const std::wstring& filePath, std::vector<Section>& sections, UniqueKernelHandle* keep) {
    // Kept, the file is open to be deleted too, so that deleting it need not find it by its path again. A
    // file that may be read but not deleted is still read.
    HANDLE raw = INVALID_HANDLE_VALUE;
    for (DWORD access : {keep ? GENERIC_READ | DELETE : GENERIC_READ, DWORD(GENERIC_READ)}) {
        raw = CreateFileW(filePath.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (raw != INVALID_HANDLE_VALUE ||
            (GetLastError() != ERROR_ACCESS_DENIED && GetLastError() != ERROR_SHARING_VIOLATION))
            break;
    }
    if (raw == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND
                   ? LoadResult::Missing
                   : LoadResult::Damaged;
    UniqueKernelHandle file(raw);
    if (keep) *keep = std::move(file);
    // Read until a read comes back short, at the end, without asking the size first: that costs a call as
    // dear as the reading.
    constexpr size_t Most = 64 * 1024 * 1024;
    std::string bytes(16 * 1024, '\0');
    size_t used = 0;
    for (DWORD read = 0;; bytes.resize(2 * bytes.size())) {
        const auto wanted = static_cast<DWORD>(bytes.size() - used);
        if (!ReadFile(raw, bytes.data() + used, wanted, &read, nullptr) || (used += read) > Most)
            return LoadResult::Damaged;
        if (read < wanted) break;
    }
    if (used % 2 || used < 2) return LoadResult::Damaged;
    std::wstring text(used / 2, L'\0');
    std::memcpy(text.data(), bytes.data(), used);
    if (text.front() != L'\xFEFF' || !text.ends_with(EndLine)) return LoadResult::Damaged;
    auto parsed = Parse(std::wstring_view(text).substr(1));
    if (!parsed) return LoadResult::Damaged;
    sections = std::move(*parsed);
    return LoadResult::Loaded;
}

bool Import(const std::vector<Section>& sections) {
    bool ok = true;
    for (const Section& section : sections) {
        if (section.remove) {
            ok &= Registry::DeleteTree(section.path);
            continue;
        }
        ok &= Registry::CreateKey(section.path);
        for (const Value& v : section.values)
            ok &= v.data ? Registry::WriteValue(section.path, v.name, *v.data)
                         : Registry::DeleteValue(section.path, v.name);
    }
    return ok;
}

namespace {

using text::Lower;
using text::LowerChar;

bool AtOrBelow(std::wstring_view path, std::wstring_view key) {
    return path.starts_with(key) && (path.size() == key.size() || path[key.size()] == L'\\');
}

constexpr std::wstring_view ClassesRoot = L"hkey_classes_root";
constexpr std::wstring_view ClassesNames[] = {L"hkey_local_machine\\software\\classes",
                                              L"hkey_current_user\\software\\classes"};

// A lower-case key path with every name of the classes key made one.
void SameKey(const std::wstring& lower, std::wstring& same) {
    for (std::wstring_view name : ClassesNames)
        if (AtOrBelow(lower, name)) {
            same.assign(ClassesRoot).append(lower, name.size());
            return;
        }
    same.assign(lower);
}

std::wstring SameKey(const std::wstring& lower) {
    std::wstring same;
    SameKey(lower, same);
    return same;
}

bool KeyExists(std::wstring_view lowerPath) {
    const size_t slash = lowerPath.find(L'\\');
    const HKEY root = lowerPath.starts_with(L"hkey_current_user") ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    UniqueHKey key;
    if (RegOpenKeyExW(root, std::wstring(lowerPath.substr(slash + 1)).c_str(), 0, KEY_QUERY_VALUE,
                      key.put()) == ERROR_SUCCESS)
        return true;
    key.abandon();
    return false;
}

} // namespace

Outcome::Outcome(const std::vector<Section>& sections) {
    size_t order = 0;
    keys_.reserve(sections.size());
    for (const Section& section : sections) {
        const std::wstring path = Lower(section.path);
        const std::wstring_view root = std::wstring_view(path).substr(0, path.find(L'\\'));
        if (root != ClassesRoot && root != L"hkey_current_user" && root != L"hkey_local_machine")
            foreignRoot_ = true;
        const size_t key = keys_.size();
        keys_.push_back({path, SameKey(path)});
        if (section.remove) {
            Step step{order++, key, nullptr};
            for (std::wstring_view name : ClassesNames)
                step.abovePresentClasses |= AtOrBelow(name, path) && KeyExists(name);
            removals_.push_back(step);
        }
        for (const Value& v : section.values)
            values_[Lower(v.name)].push_back({order++, key, v.data ? &*v.data : nullptr});
    }
}

Outcome::State Outcome::Find(std::wstring_view keyPath, std::wstring_view name) const {
    if (foreignRoot_ && (!removals_.empty() || !values_.empty())) return {Kind::Unknown};
    name_.assign(name);
    for (wchar_t& c : name_) c = LowerChar(c);
    const auto named = values_.find(name_);
    if (named == values_.end() && removals_.empty()) return {};
    // The last step that reaches the value decides.
    if (!keyKnown_ || asked_ != keyPath) {
        asked_.assign(keyPath);
        key_.assign(keyPath);
        for (wchar_t& c : key_) c = LowerChar(c);
        SameKey(key_, same_);
        const bool classes = AtOrBelow(same_, ClassesRoot);
        removed_ = {};
        for (const Step& step : removals_) {
            const Key& at = keys_[step.key];
            const bool known = AtOrBelow(key_, at.path);
            if (known || AtOrBelow(same_, at.same) || (classes && step.abovePresentClasses)) {
                removed_ = {known ? Kind::Known : Kind::Unknown};
                removalOrder_ = step.order;
            }
        }
        keyKnown_ = true;
    }
    State found = removed_;
    const bool removed = removed_.kind != Kind::Unchanged;
    if (named != values_.end())
        for (const Step& step : named->second) { // in order, so the last that reaches stays
            const Key& at = keys_[step.key];
            const bool known = at.path == key_;
            if ((!removed || step.order > removalOrder_) && (known || at.same == same_))
                found = known ? State{Kind::Known, step.data} : State{Kind::Unknown};
        }
    return found;
}

std::optional<std::wstring> Outcome::Text(const std::wstring& keyPath, const std::wstring& name) const {
    const State now = Find(keyPath, name);
    switch (now.kind) {
    case Kind::Unchanged:
        return std::nullopt;
    case Kind::Unknown:
        return Registry::ReadString(keyPath, name);
    case Kind::Known:
        break;
    }
    return now.data ? Registry::TextOf(*now.data) : std::wstring(Registry::ErrorText);
}

} // namespace RegFile
