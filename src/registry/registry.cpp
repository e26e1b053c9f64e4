#include "registry/registry.h"

#include "platform/ports.h"
#include "platform/unique_handle.h"
#include "registry/write_recorder.h"

#include <algorithm>
#include <cstring>

namespace Registry {
namespace {

RealMessageBoxPort realPort;
MessageBoxPort* messagePort = &realPort;
WriteWatcher writeWatcher = nullptr;

// The keys a ReadCache holds, by path as spelled; a null key is one found missing.
std::vector<std::pair<std::wstring, UniqueHKey>> cachedKeys;
int cacheDepth = 0;

// Every write and deletion passes here first.
void Watch(std::wstring_view operation, const std::wstring& path, const std::wstring& name) {
    cachedKeys.clear();
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

// A key to read from: one a recorder keeps open, or one opened for this read (and kept, while a recorder
// is active).
class ReadKey {
public:
    ReadKey(const std::wstring& path, HKEY root, const std::wstring& subkey) {
        WriteRecorder* recorder = WriteRecorder::Active();
        if (recorder && (key_ = recorder->OpenKey(path, false))) return;
        const bool caching = !recorder && cacheDepth > 0;
        if (caching) {
            auto cached = std::find_if(cachedKeys.begin(), cachedKeys.end(),
                                       [&](const auto& entry) { return entry.first == path; });
            if (cached != cachedKeys.end()) {
                key_ = cached->second.get();
                return;
            }
        }
        UniqueHKey opened = Open(root, subkey, KEY_READ);
        key_ = opened.get();
        if (recorder && opened)
            recorder->KeepOpen(path, std::move(opened), false);
        else if (caching)
            cachedKeys.emplace_back(path, std::move(opened));
        else
            owned_ = std::move(opened);
    }
    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
    UniqueHKey owned_;
};

// The value's raw data and type; no value when it cannot be read.
std::optional<Data> Query(HKEY key, const std::wstring& name) {
    // Most values fit a first guess, which saves asking for the size first.
    DWORD type = 0, size = 256;
    Bytes data(size);
    LONG rc =
        RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    // Another writer may grow the value between two calls; try again with the new size.
    for (int attempt = 0; rc == ERROR_MORE_DATA && attempt < 4; ++attempt) {
        data.resize(size);
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (rc != ERROR_SUCCESS) return std::nullopt;
    data.resize(size);
    return Data{type, std::move(data)};
}

// The recorder that wants to know what a write replaces, or null.
WriteRecorder* Noting() {
    WriteRecorder* recorder = WriteRecorder::Active();
    return recorder && recorder->NotesPrior() ? recorder : nullptr;
}

bool Fail(const std::wstring& path, const std::wstring& name, LONG error) {
    if (WriteRecorder* recorder = WriteRecorder::Active()) recorder->NoteFailure(path, name, error);
    return false;
}

std::wstring RootPart(const std::wstring& path) {
    return path.substr(0, path.find(L'\\'));
}

bool KeyMissing(HKEY root, const std::wstring& subkey) {
    UniqueHKey key;
    const LONG rc = RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put());
    if (rc != ERROR_SUCCESS) key.abandon();
    return rc == ERROR_FILE_NOT_FOUND;
}

// The outermost missing key along the subkey path; empty when the key exists.
std::wstring FirstMissing(HKEY root, std::wstring subkey) {
    std::wstring missing;
    while (!subkey.empty() && KeyMissing(root, subkey)) {
        missing = subkey;
        const size_t slash = subkey.rfind(L'\\');
        if (slash == subkey.npos) break;
        subkey.resize(slash);
    }
    return missing;
}

struct WriteKey {
    UniqueHKey key;
    LONG error = ERROR_SUCCESS;
};

// Opens for writing (and reading, when a recorder notes what is replaced or keeps the key open for later
// reads), creating the key and its parents once if it is missing.
WriteKey OpenForWrite(const std::wstring& path, HKEY root, const std::wstring& subkey,
                      WriteRecorder* recorder, bool readToo) {
    const REGSAM access = recorder || readToo ? KEY_READ | KEY_WRITE : KEY_WRITE;
    WriteKey w;
    w.error = RegOpenKeyExW(root, subkey.c_str(), 0, access, w.key.put());
    if (w.error == ERROR_SUCCESS) return w;
    w.key.abandon();
    const std::wstring missing = recorder && w.error == ERROR_FILE_NOT_FOUND && !recorder->Covers(path)
                                     ? FirstMissing(root, subkey)
                                     : L"";
    UniqueHKey created;
    const LONG createError = RegCreateKeyW(root, subkey.c_str(), created.put());
    if (createError != ERROR_SUCCESS) created.abandon();
    created.reset();
    if (createError == ERROR_SUCCESS && !missing.empty())
        recorder->NoteCreated(RootPart(path) + L"\\" + missing);
    w.error = RegOpenKeyExW(root, subkey.c_str(), 0, access, w.key.put());
    if (w.error != ERROR_SUCCESS) {
        w.key.abandon();
        if (createError != ERROR_SUCCESS) w.error = createError;
    }
    return w;
}

bool SetValue(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, size_t size) {
    WriteRecorder* active = WriteRecorder::Active();
    WriteRecorder* recorder = Noting();
    HKEY key = active ? active->OpenKey(path, true) : nullptr;
    WriteKey w;
    if (!key) {
        auto [root, subkey] = SplitRegPath(path);
        if (!root) return Fail(path, name, ERROR_BAD_PATHNAME);
        w = OpenForWrite(path, root, subkey, recorder, active != nullptr);
        if (!w.key) return Fail(path, name, w.error);
        key = w.key.get();
    }
    std::optional<std::optional<Data>> prior; // set when the write changes something worth noting
    if (recorder && !recorder->Covers(path) && !recorder->NoteRewrite(path, name)) {
        auto now = Query(key, name);
        const auto* bytes = static_cast<const std::byte*>(data);
        if (!now || now->type != type ||
            !std::equal(now->bytes.begin(), now->bytes.end(), bytes, bytes + size))
            prior = std::move(now);
    }
    const LONG rc =
        RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    if (w.key && active) active->KeepOpen(path, std::move(w.key), true);
    if (rc != ERROR_SUCCESS) return Fail(path, name, rc);
    if (prior) recorder->NoteValue(path, name, std::move(*prior));
    return true;
}

// Every value and key below `key`, parents first.
void Snapshot(HKEY key, const std::wstring& relative, std::vector<WriteRecorder::KeyState>& out) {
    DWORD subkeys = 0, values = 0, longestKey = 0, longestValue = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestKey, nullptr, &values,
                         &longestValue, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    WriteRecorder::KeyState state{relative, {}};
    for (DWORD i = 0; i < values; ++i) {
        std::wstring name(longestValue + 1, L'\0');
        DWORD size = longestValue + 1;
        if (RegEnumValueW(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        name.resize(size);
        if (auto data = Query(key, name)) state.values.emplace_back(std::move(name), std::move(*data));
    }
    out.push_back(std::move(state));
    for (DWORD i = 0; i < subkeys; ++i) {
        std::wstring name(longestKey + 1, L'\0');
        DWORD size = longestKey + 1;
        if (RegEnumKeyExW(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        name.resize(size);
        UniqueHKey child;
        if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, child.put()) != ERROR_SUCCESS) {
            child.abandon();
            continue;
        }
        Snapshot(child.get(), relative.empty() ? name : relative + L"\\" + name, out);
    }
}

// The key with everything in it, or no value when there is no such key to note.
std::optional<std::vector<WriteRecorder::KeyState>> SnapshotKey(HKEY parent, const std::wstring& subkey) {
    UniqueHKey key;
    std::vector<WriteRecorder::KeyState> tree;
    if (const LONG rc = RegOpenKeyExW(parent, subkey.c_str(), 0, KEY_READ, key.put()); rc != ERROR_SUCCESS) {
        key.abandon();
        // A key that is there but cannot be read is still deleted if the system lets us.
        return rc == ERROR_FILE_NOT_FOUND ? std::nullopt : std::optional(tree);
    }
    Snapshot(key.get(), L"", tree);
    return tree;
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

std::wstring TextOf(const Data& value) {
    const auto& [type, data] = value;
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

std::int32_t NumberOf(const Data& value) {
    // A shorter value fills the low bytes; a longer one does not fit the number at all.
    if (value.bytes.size() > sizeof(std::uint32_t)) return ErrorNumber;
    std::uint32_t number = 0;
    if (!value.bytes.empty()) std::memcpy(&number, value.bytes.data(), value.bytes.size());
    return static_cast<std::int32_t>(number);
}

std::wstring ReadString(const std::wstring& path, const std::wstring& name) {
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return L"";
    ReadKey key(path, root, subkey);
    if (!key) return std::wstring(ErrorText);
    auto value = Query(key.get(), name);
    return value ? TextOf(*value) : std::wstring(ErrorText);
}

std::int32_t ReadDword(const std::wstring& path, const std::wstring& name) {
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return 0;
    ReadKey key(path, root, subkey);
    if (!key) return ErrorNumber;
    auto value = Query(key.get(), name);
    return value ? NumberOf(*value) : ErrorNumber;
}

std::optional<Bytes> ReadBinary(const std::wstring& path, const std::wstring& name) {
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return Bytes{};
    ReadKey key(path, root, subkey);
    if (!key) return std::nullopt;
    auto value = Query(key.get(), name);
    if (!value) return std::nullopt;
    return std::move(value->bytes);
}

std::optional<Data> ReadValue(const std::wstring& path, const std::wstring& name) {
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return std::nullopt;
    ReadKey key(path, root, subkey);
    if (!key) return std::nullopt;
    return Query(key.get(), name);
}

bool WriteString(const std::wstring& path, const std::wstring& name, const std::wstring& value) {
    Watch(L"WriteString", path, name);
    // With its terminating zero: readers that expect one would otherwise run past the data.
    return SetValue(path, name, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(wchar_t));
}

bool WriteDword(const std::wstring& path, const std::wstring& name, std::int32_t value) {
    Watch(L"WriteDword", path, name);
    auto data = static_cast<std::uint32_t>(value);
    return SetValue(path, name, REG_DWORD, &data, sizeof data);
}

bool WriteBinary(const std::wstring& path, const std::wstring& name, const Bytes& value) {
    Watch(L"WriteBinary", path, name);
    return SetValue(path, name, REG_BINARY, value.data(), value.size());
}

bool WriteValue(const std::wstring& path, const std::wstring& name, const Data& value) {
    Watch(L"WriteValue", path, name);
    return SetValue(path, name, value.type, value.bytes.data(), value.bytes.size());
}

bool DeleteValue(const std::wstring& path, const std::wstring& name) {
    Watch(L"DeleteValue", path, name);
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return Fail(path, name, ERROR_BAD_PATHNAME);
    WriteRecorder* active = WriteRecorder::Active();
    WriteRecorder* recorder = Noting();
    // A key kept open is current: every key deletion closes them all.
    HKEY key = active ? active->OpenKey(path, true) : nullptr;
    UniqueHKey opened;
    LONG rc = ERROR_SUCCESS;
    if (!key) {
        rc = RegOpenKeyExW(root, subkey.c_str(), 0, active ? KEY_READ | KEY_WRITE : KEY_WRITE, opened.put());
        if (rc != ERROR_SUCCESS) {
            opened.abandon();
            return rc == ERROR_FILE_NOT_FOUND || Fail(path, name, rc);
        }
        key = opened.get();
    }
    std::optional<Data> prior;
    if (recorder && !recorder->Covers(path) && !recorder->NoteRewrite(path, name)) prior = Query(key, name);
    rc = RegDeleteValueW(key, name.c_str());
    if (opened && active) active->KeepOpen(path, std::move(opened), true);
    if (rc == ERROR_FILE_NOT_FOUND) return true;
    if (rc != ERROR_SUCCESS) return Fail(path, name, rc);
    if (prior) recorder->NoteValue(path, name, std::move(prior));
    return true;
}

bool DeleteKey(const std::wstring& parentPath, const std::wstring& subkeyName) {
    Watch(L"DeleteKey", parentPath, subkeyName);
    auto [root, subkey] = SplitRegPath(parentPath);
    const std::wstring path = parentPath + L"\\" + subkeyName;
    if (!root) return Fail(path, L"", ERROR_BAD_PATHNAME);
    UniqueHKey key;
    LONG rc = RegOpenKeyExW(root, subkey.c_str(), 0, KEY_WRITE, key.put());
    if (rc != ERROR_SUCCESS) {
        key.abandon();
        return rc == ERROR_FILE_NOT_FOUND || Fail(path, L"", rc);
    }
    WriteRecorder* recorder = Noting();
    std::optional<std::vector<WriteRecorder::KeyState>> tree;
    if (recorder && !recorder->Covers(path)) {
        tree = SnapshotKey(key.get(), subkeyName);
        if (!tree) return true; // no such key: nothing to delete
    }
    if (WriteRecorder* active = WriteRecorder::Active()) active->CloseKeys();
    rc = RegDeleteKeyW(key.get(), subkeyName.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return true;
    if (rc != ERROR_SUCCESS) return Fail(path, L"", rc);
    if (tree) recorder->NoteDeleted(path, std::move(*tree));
    return true;
}

bool DeleteTree(const std::wstring& path) {
    Watch(L"DeleteTree", path, {});
    auto [root, subkey] = SplitRegPath(path);
    if (!root || subkey.empty()) return Fail(path, L"", ERROR_BAD_PATHNAME);
    WriteRecorder* recorder = Noting();
    std::optional<std::vector<WriteRecorder::KeyState>> tree;
    if (recorder && !recorder->Covers(path)) {
        tree = SnapshotKey(root, subkey);
        if (!tree) return true;
    }
    if (WriteRecorder* active = WriteRecorder::Active()) active->CloseKeys();
    const LONG rc = RegDeleteTreeW(root, subkey.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return true;
    if (rc != ERROR_SUCCESS) return Fail(path, L"", rc);
    // The key itself goes as well, where the platform's tree deletion leaves it.
    const LONG gone = RegDeleteKeyW(root, subkey.c_str());
    if (gone != ERROR_SUCCESS && gone != ERROR_FILE_NOT_FOUND) return Fail(path, L"", gone);
    if (tree) recorder->NoteDeleted(path, std::move(*tree));
    return true;
}

bool CreateKey(const std::wstring& path) {
    Watch(L"CreateKey", path, {});
    WriteRecorder* active = WriteRecorder::Active();
    if (active && active->OpenKey(path, true)) return true; // open, so it exists
    auto [root, subkey] = SplitRegPath(path);
    if (!root) return Fail(path, L"", ERROR_BAD_PATHNAME);
    WriteRecorder* recorder = Noting();
    const std::wstring missing = recorder && !recorder->Covers(path) ? FirstMissing(root, subkey) : L"";
    UniqueHKey key;
    const LONG rc = RegCreateKeyW(root, subkey.c_str(), key.put());
    if (rc != ERROR_SUCCESS) {
        key.abandon();
        return Fail(path, L"", rc);
    }
    if (!missing.empty()) recorder->NoteCreated(RootPart(path) + L"\\" + missing);
    // The values an import writes next go to this key.
    if (active) active->KeepOpen(path, std::move(key), true);
    return true;
}

ReadCache::ReadCache() {
    ++cacheDepth;
}

ReadCache::~ReadCache() {
    if (--cacheDepth == 0) cachedKeys.clear();
}

} // namespace Registry
