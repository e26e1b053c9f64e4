#include "registry/registry.h"

#include "platform/ports.h"
#include "platform/unique_handle.h"

namespace Registry {
namespace {

RealMessageBoxPort realPort;
MessageBoxPort* messagePort = &realPort;
WriteWatcher writeWatcher = nullptr;

void Watch(std::wstring_view operation, const std::wstring& path, const std::wstring& name) {
    if (writeWatcher) writeWatcher(operation, path, name);
}

struct RootName {
    std::wstring_view name;
    HKEY key;
};

const RootName rootNames[] = {
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {L"HKEY_DYN_DATA", HKEY_DYN_DATA},
};

UniqueHKey Open(HKEY root, const std::wstring& subkey, REGSAM access) {
    UniqueHKey key;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, access, key.put()) != ERROR_SUCCESS) key.abandon();
    return key;
}

// Opens for writing, creating the key and its parents once if it is missing.
UniqueHKey OpenForWrite(HKEY root, const std::wstring& subkey) {
    UniqueHKey key = Open(root, subkey, KEY_WRITE);
    if (!key) {
        UniqueHKey created;
        if (RegCreateKeyW(root, subkey.c_str(), created.put()) != ERROR_SUCCESS) created.abandon();
        created.reset();
        key = Open(root, subkey, KEY_WRITE);
    }
    return key;
}

// The value's raw data and type; no value when it cannot be read.
std::optional<std::pair<DWORD, Bytes>> Query(HKEY key, const std::wstring& name) {
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    Bytes data;
    // Another writer may grow the value between the two calls; try again with the new size.
    for (int attempt = 0; rc == ERROR_SUCCESS && attempt < 4; ++attempt) {
        data.resize(size);
        DWORD got = size;
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
        if (rc == ERROR_SUCCESS) {
            data.resize(got);
            return std::make_pair(type, std::move(data));
        }
        if (rc == ERROR_MORE_DATA) {
            size = got;
            rc = ERROR_SUCCESS;
        }
    }
    return std::nullopt;
}

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

std::wstring FormatMessageText(const std::wstring& path) {
    return L"Incorrect Format:\n\n" + path;
}

void SetWriteWatcher(WriteWatcher watcher) {
    writeWatcher = watcher;
}

void SetMessagePort(MessageBoxPort* port) {
    messagePort = port ? port : &realPort;
}

HKEY RootKeyFromName(std::wstring_view name) {
    for (const auto& root : rootNames)
        if (root.name == name) return root.key;
    return nullptr;
}

SplitResult SplitRegPath(const std::wstring& path) {
    if (!path.starts_with(L"HKEY_") || path.back() == L'\\') {
        messagePort->ShowMessage(FormatMessageText(path));
        return {};
    }
    size_t slash = path.find(L'\\');
    if (slash == std::wstring::npos) return {RootKeyFromName(path), {}};
    return {RootKeyFromName(std::wstring_view(path).substr(0, slash)), path.substr(slash + 1)};
}

std::wstring ReadString(const std::wstring& path, const std::wstring& name) {
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return L"";
    UniqueHKey key = Open(root, subkey, KEY_READ);
    if (!key) return std::wstring(ErrorText);
    auto value = Query(key.get(), name);
    key.reset();
    if (!value) return std::wstring(ErrorText);

    const auto& [type, data] = *value;
    std::wstring s;
    if (IsTextType(type)) {
        s.assign(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    } else {
        // Non-text data reads as one character per byte, as a byte-oriented reader sees it.
        s.reserve(data.size());
        for (std::byte b : data) s.push_back(static_cast<wchar_t>(std::to_integer<unsigned char>(b)));
    }
    // Trailing spaces survive only when the stored text carries its terminating zero.
    size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos) return L"";
    size_t last = s.find_last_not_of(L' ');
    s = s.substr(first, last - first + 1);
    if (size_t nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
    return s;
}

std::int32_t ReadDword(const std::wstring& path, const std::wstring& name) {
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return 0;
    UniqueHKey key = Open(root, subkey, KEY_READ);
    if (!key) return ErrorNumber;
    std::uint32_t buffer = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&buffer),
                         &size) != ERROR_SUCCESS)
        return ErrorNumber;
    return static_cast<std::int32_t>(buffer);
}

std::optional<Bytes> ReadBinary(const std::wstring& path, const std::wstring& name) {
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return Bytes{};
    UniqueHKey key = Open(root, subkey, KEY_READ);
    if (!key) return std::nullopt;
    auto value = Query(key.get(), name);
    if (!value) return std::nullopt;
    return std::move(value->second);
}

void WriteString(const std::wstring& path, const std::wstring& name, const std::wstring& value) {
    Watch(L"WriteString", path, name);
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return;
    UniqueHKey key = OpenForWrite(root, subkey);
    if (!key) return;
    // With its terminating zero: readers that expect one would otherwise run past the data.
    RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void WriteDword(const std::wstring& path, const std::wstring& name, std::int32_t value) {
    Watch(L"WriteDword", path, name);
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return;
    UniqueHKey key = OpenForWrite(root, subkey);
    if (!key) return;
    auto data = static_cast<std::uint32_t>(value);
    RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

void WriteBinary(const std::wstring& path, const std::wstring& name, const Bytes& value) {
    Watch(L"WriteBinary", path, name);
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return;
    UniqueHKey key = OpenForWrite(root, subkey);
    if (!key) return;
    RegSetValueExW(key.get(), name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(value.data()),
                   static_cast<DWORD>(value.size()));
}

void DeleteValue(const std::wstring& path, const std::wstring& name) {
    Watch(L"DeleteValue", path, name);
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return;
    if (UniqueHKey key = Open(root, subkey, KEY_WRITE)) RegDeleteValueW(key.get(), name.c_str());
}

void DeleteKey(const std::wstring& parentPath, const std::wstring& subkeyName) {
    Watch(L"DeleteKey", parentPath, subkeyName);
    auto [root, subkey] = SplitRegPath(parentPath);
    if (!root) return;
    if (UniqueHKey key = Open(root, subkey, KEY_WRITE)) RegDeleteKeyW(key.get(), subkeyName.c_str());
}

void CreateKey(const std::wstring& path) {
    Watch(L"CreateKey", path, {});
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return;
    UniqueHKey key;
    if (RegCreateKeyW(root, subkey.c_str(), key.put()) != ERROR_SUCCESS) key.abandon();
}

} // namespace Registry
