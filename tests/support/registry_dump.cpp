#include "support/registry_dump.h"

#include "platform/unique_handle.h"
#include "support/registry_sandbox.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

bool LessNoCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

std::wstring Data(DWORD type, const std::vector<unsigned char>& data) {
    if (type == REG_SZ) {
        std::wstring s(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
        const bool terminated = !s.empty() && s.back() == L'\0';
        if (terminated) s.pop_back();
        return L"\"" + s + (terminated ? L"\"" : L"\" (no NUL)");
    }
    if (type == REG_DWORD && data.size() == 4)
        return L"dword:" + std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
    std::wstring out = type == REG_BINARY ? L"hex:" : L"hex(" + std::to_wstring(type) + L"):";
    for (size_t i = 0; i < data.size(); ++i) {
        wchar_t pair[4];
        std::swprintf(pair, 4, L"%02x", data[i]);
        out += (i ? L"," : L"") + std::wstring(pair);
    }
    return out;
}

void ListKey(HKEY root, const wchar_t* rootName, HKEY key, const std::wstring& subkey,
             std::vector<RegistryKeyRecord>& out) {
    DWORD subkeys = 0, values = 0, longestKey = 0, longestValue = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestKey, nullptr, &values,
                         &longestValue, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    RegistryKeyRecord record{root, rootName, subkey, subkeys != 0, {}};
    for (DWORD i = 0; i < values; ++i) {
        RegistryValueRecord v{std::wstring(longestValue + 1, L'\0'), 0,
                              std::vector<unsigned char>(longestData)};
        DWORD nameSize = longestValue + 1, dataSize = longestData;
        if (RegEnumValueW(key, i, v.name.data(), &nameSize, nullptr, &v.type, v.data.data(), &dataSize) !=
            ERROR_SUCCESS)
            continue;
        v.name.resize(nameSize);
        v.data.resize(dataSize);
        record.values.push_back(std::move(v));
    }
    std::sort(record.values.begin(), record.values.end(),
              [](const auto& a, const auto& b) { return LessNoCase(a.name, b.name); });
    out.push_back(std::move(record));

    std::vector<std::wstring> names;
    for (DWORD i = 0; i < subkeys; ++i) {
        std::wstring name(longestKey + 1, L'\0');
        DWORD size = longestKey + 1;
        if (RegEnumKeyExW(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.push_back(name.substr(0, size));
    }
    std::sort(names.begin(), names.end(), LessNoCase);
    for (const std::wstring& name : names) {
        UniqueHKey child;
        if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, child.put()) == ERROR_SUCCESS)
            ListKey(root, rootName, child.get(), subkey.empty() ? name : subkey + L"\\" + name, out);
        else
            child.abandon();
    }
}

} // namespace

std::vector<RegistryKeyRecord> ListRegistry() {
    std::vector<RegistryKeyRecord> out;
    for (auto [root, name] : {std::pair{HKEY_CLASSES_ROOT, L"HKCR"}, std::pair{HKEY_CURRENT_USER, L"HKCU"},
                              std::pair{HKEY_LOCAL_MACHINE, L"HKLM"}}) {
        UniqueHKey key; // opening the root itself follows its redirection to the sandbox
        if (RegOpenKeyExW(root, L"", 0, KEY_READ, key.put()) == ERROR_SUCCESS)
            ListKey(root, name, key.get(), L"", out);
        else
            key.abandon();
    }
    return out;
}

std::wstring DumpRegistry(const std::wstring& root) {
    std::wstring out;
    for (const RegistryKeyRecord& key : ListRegistry()) {
        if (key.values.empty() && key.hasSubkeys) continue; // implied by the keys below it
        out += L"[" + key.rootName + (key.subkey.empty() ? L"" : L"\\" + key.subkey) + L"]\n";
        for (const RegistryValueRecord& v : key.values)
            out += (v.name.empty() ? L"@" : L"\"" + v.name + L"\"") + L" = " + Data(v.type, v.data) + L"\n";
    }
    for (size_t at = root.empty() ? out.npos : out.find(root); at != out.npos; at = out.find(root, at))
        out.replace(at, root.size(), L"%ROOT%");
    return out;
}

std::wstring RawText(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    const RawValue v = RawGetValue(root, subkey, name);
    if (!v.exists || v.type != REG_SZ) return L"<none>";
    std::wstring s(reinterpret_cast<const wchar_t*>(v.data.data()), v.data.size() / sizeof(wchar_t));
    if (!s.empty() && s.back() == L'\0') s.pop_back();
    return s;
}

namespace {
using Section = std::vector<std::pair<std::wstring, std::wstring>>; // value name ("@" or "\"x\""), line
struct NoCase {
    bool operator()(const std::wstring& a, const std::wstring& b) const { return LessNoCase(a, b); }
};
using Dump = std::map<std::wstring, Section, NoCase>;

// Applies dump text to `dump`: "[key]" adds or updates the values listed, "[-key]" removes the key and
// "name" = - removes a value.
void Merge(Dump& dump, const std::wstring& text) {
    Section* section = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == text.npos) end = text.size();
        const std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty()) continue;
        if (line.starts_with(L"[-")) {
            dump.erase(line.substr(2, line.size() - 3));
            section = nullptr;
        } else if (line.starts_with(L"[")) {
            section = &dump[line.substr(1, line.size() - 2)];
        } else if (section) {
            const std::wstring name = line.substr(0, line.find(L" = "));
            std::erase_if(*section, [&](const auto& v) { return v.first == name; });
            if (!line.ends_with(L" = -")) section->push_back({name, line});
        }
    }
}

std::wstring Render(Dump& dump) {
    std::wstring out;
    for (auto& [key, values] : dump) {
        std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
            return LessNoCase(a.first == L"@" ? L"" : a.first, b.first == L"@" ? L"" : b.first);
        });
        out += L"[" + key + L"]\n";
        for (const auto& value : values) out += value.second + L"\n";
    }
    return out;
}
} // namespace

std::wstring PatchDump(const std::wstring& base, const std::wstring& patch) {
    Dump dump;
    Merge(dump, base);
    Merge(dump, patch);
    return Render(dump);
}
