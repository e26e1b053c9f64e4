#pragma once
// Every registry access goes through here. A key is named by one text, root name and subkey path
// ("HKEY_CURRENT_USER\Control Panel\Cursors"); each call opens, does one thing and closes.
// Reads never fail loudly: they return the sentinels below. Writes say whether they succeeded, and while a
// WriteRecorder is active (write_recorder.h) each one first notes what it replaces.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class MessageBoxPort;

namespace Registry {

using Bytes = std::vector<std::byte>;

inline constexpr std::wstring_view ErrorText = L"Error"; // a text read that failed
inline constexpr std::int32_t ErrorNumber = 10;          // a number read that failed

struct SplitResult {
    HKEY root = nullptr; // null for an unknown root name or a malformed path
    std::wstring subkey;
};

// The predefined key for one of the seven root names (exact case), or null.
HKEY RootKeyFromName(std::wstring_view name);
// Shows the format message for a malformed path and returns no root.
SplitResult SplitRegPath(const std::wstring& path);

// "Error" when the key or value cannot be read, "" for an unknown root. Leading and trailing spaces
// are removed and the text ends at its first NUL; data of any type and length is read.
std::wstring ReadString(const std::wstring& path, const std::wstring& name);
// 10 when the key or value cannot be read (or holds more than 4 bytes), 0 for an unknown root.
std::int32_t ReadDword(const std::wstring& path, const std::wstring& name);
// No value (the "Error" sentinel) when the key or value cannot be read; empty bytes for an unknown root.
std::optional<Bytes> ReadBinary(const std::wstring& path, const std::wstring& name);

// A value as stored: its type and raw bytes.
struct Data {
    DWORD type = REG_NONE;
    Bytes bytes;
    bool operator==(const Data&) const = default;
};

// No value when the key or value cannot be read.
std::optional<Data> ReadValue(const std::wstring& path, const std::wstring& name);
// What ReadString and ReadDword make of a value they read.
std::wstring TextOf(const Data& value);
std::int32_t NumberOf(const Data& value);

// The writes create a missing key and its missing parents. Each returns false when nothing was stored;
// deleting what is not there counts as done.
bool WriteString(const std::wstring& path, const std::wstring& name, const std::wstring& value);
bool WriteDword(const std::wstring& path, const std::wstring& name, std::int32_t value);
bool WriteBinary(const std::wstring& path, const std::wstring& name, const Bytes& value);
bool WriteValue(const std::wstring& path, const std::wstring& name, const Data& value);
bool DeleteValue(const std::wstring& path, const std::wstring& name);
// Whether a key with subkeys goes is the platform's choice (Windows NT keeps it).
bool DeleteKey(const std::wstring& parentPath, const std::wstring& subkeyName);
// The key, its values and every key below it.
bool DeleteTree(const std::wstring& path);
bool CreateKey(const std::wstring& path);

// Where the format message goes; null restores the real message box.
void SetMessagePort(MessageBoxPort* port);

// Sees every write and delete in the order made, as operation ("WriteString", "DeleteKey"...), path and
// value or subkey name; null stops watching. For checking orders that a stored result cannot show.
using WriteWatcher = void (*)(std::wstring_view operation, const std::wstring& path,
                              const std::wstring& name);
void SetWriteWatcher(WriteWatcher watcher);

// The message shown for a malformed path.
std::wstring FormatMessageText(const std::wstring& path);

// While one lives, reads keep the keys they open, and remember the keys they found missing, so that
// reading many values of a few keys opens each key once. Any write or deletion forgets them all, so reads
// always see what is stored. For the reader's thread; nested ones share the outermost one's keys.
class ReadCache {
public:
    ReadCache();
    ~ReadCache();
    ReadCache(const ReadCache&) = delete;
    ReadCache& operator=(const ReadCache&) = delete;
};

} // namespace Registry
