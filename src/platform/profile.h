#pragma once
// Initialisation (INI) files through the platform's profile functions: theme files are read and written
// only here, so every reader and writer shares their rules (sections and keys matched without regard to
// letter case, a missing entry appended to its section, everything else in the file left as it was).
#include <string>

namespace Profile {

// No usable value is longer than the longest path plus a comma and an index.
inline constexpr size_t MaxValueChars = 65535;

// The whole value, or empty when the file, section or key is missing. A value longer than MaxValueChars is
// never cut (a cut value names another file): it reads as empty.
std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& file);
// Creates the file, section or key as needed; false when the file could not be written.
bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                 const std::wstring& file);
// Whether the file can be written (it is created, empty, when missing): false for a read-only file, a
// missing folder or a file the user has no rights to.
bool CanWrite(const std::wstring& file);

} // namespace Profile
