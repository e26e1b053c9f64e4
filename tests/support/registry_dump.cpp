#include "support/registry_dump.h"

#include "platform/text.h"
#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

bool LessNoCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

std::wstring Hex(const std::vector<unsigned char>& data) {
    std::wstring out;
    for (unsigned char byte : data) {
        wchar_t pair[4];
        std::swprintf(pair, 4, L"%02x", byte);
        if (!out.empty()) out += L',';
        out += pair;
    }
    return out;
}

std::wstring Data(DWORD type, const std::vector<unsigned char>& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring s(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
        const bool terminated = !s.empty() && s.back() == L'\0';
        if (terminated) s.pop_back();
        std::wstring shown = (type == REG_EXPAND_SZ ? L"expand:\"" : L"\"") + s + L"\"";
        return terminated ? shown : shown + L" (no NUL)";
    }
    if (type == REG_DWORD && data.size() == 4) {
        DWORD v = 0;
        std::copy(data.begin(), data.end(), reinterpret_cast<unsigned char*>(&v));
        return L"dword:" + std::to_wstring(v);
    }
    if (type == REG_BINARY) return L"hex:" + Hex(data);
    return L"hex(" + std::to_wstring(type) + L"):" + Hex(data);
}

void ListKey(HKEY root, const std::wstring& rootName, HKEY key, const std::wstring& subkey,
             std::vector<RegistryKeyRecord>& out) {
    DWORD subkeys = 0, values = 0, longestKey = 0, longestValue = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestKey, nullptr, &values,
                         &longestValue, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;

    RegistryKeyRecord record{root, rootName, subkey, subkeys != 0, {}};
    for (DWORD i = 0; i < values; ++i) {
        std::wstring name(longestValue + 1, L'\0');
        std::vector<unsigned char> data(longestData + 2);
        DWORD nameSize = longestValue + 1, dataSize = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) !=
            ERROR_SUCCESS)
            continue;
        name.resize(nameSize);
        data.resize(dataSize);
        record.values.push_back({name, type, data});
    }
    std::sort(record.values.begin(), record.values.end(),
              [](const RegistryValueRecord& a, const RegistryValueRecord& b) {
                  return LessNoCase(a.name, b.name);
              });
    out.push_back(std::move(record));

    std::vector<std::wstring> names;
    for (DWORD i = 0; i < subkeys; ++i) {
        std::wstring name(longestKey + 1, L'\0');
        DWORD size = longestKey + 1;
        if (RegEnumKeyExW(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        name.resize(size);
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), LessNoCase);
    for (const std::wstring& name : names) {
        UniqueHKey child;
        if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, child.put()) != ERROR_SUCCESS) {
            child.release();
            continue;
        }
        ListKey(root, rootName, child.get(), subkey.empty() ? name : subkey + L"\\" + name, out);
    }
}

} // namespace

std::vector<RegistryKeyRecord> ListRegistry() {
    const std::pair<HKEY, const wchar_t*> roots[] = {
        {HKEY_CLASSES_ROOT, L"HKCR"}, {HKEY_CURRENT_USER, L"HKCU"}, {HKEY_LOCAL_MACHINE, L"HKLM"}};
    std::vector<RegistryKeyRecord> out;
    for (const auto& [root, name] : roots) {
        // Opening the root itself follows its redirection to the sandbox.
        UniqueHKey key;
        if (RegOpenKeyExW(root, L"", 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
            key.release();
            continue;
        }
        ListKey(root, name, key.get(), L"", out);
    }
    return out;
}

std::wstring DumpRegistry(const std::vector<std::pair<std::wstring, std::wstring>>& placeholders) {
    std::wstring out;
    for (const RegistryKeyRecord& key : ListRegistry()) {
        if (key.values.empty() && key.hasSubkeys) continue; // implied by the keys below it
        out += L"[" + key.rootName + (key.subkey.empty() ? L"" : L"\\" + key.subkey) + L"]\n";
        for (const RegistryValueRecord& v : key.values)
            out += (v.name.empty() ? L"@" : L"\"" + v.name + L"\"") + L" = " + Data(v.type, v.data) + L"\n";
    }
    for (const auto& [from, to] : placeholders) {
        if (from.empty()) continue;
        for (size_t at = out.find(from); at != std::wstring::npos; at = out.find(from, at + to.size()))
            out.replace(at, from.size(), to);
    }
    return out;
}

std::wstring NormaliseDump(const std::wstring& text) {
    std::wstring out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) out += line + L"\n";
        start = end + 1;
    }
    return out;
}
