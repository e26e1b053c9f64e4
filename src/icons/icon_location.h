#pragma once
// Icon references ("file,index"), the "%SystemRoot%" rule and the small path and timing helpers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct SplitLocation {
    std::wstring file;                 // the text before the last comma, or the whole text without one
    std::optional<std::int16_t> index; // empty when the part after the comma is not a 16-bit decimal number
    bool hadComma = false;

    bool usable() const { return index.has_value(); }
};

// The last comma separates file and index; without a comma the whole text is the file and the index 0.
SplitLocation SplitIconLocation(std::wstring_view reference);

// File, comma, index in decimal: the form the registry and the information bar hold.
std::wstring FormatIconLocation(std::wstring_view file, std::int16_t index);

// A leading "%SystemRoot%" (any letter case) becomes the Windows folder; nothing else is expanded.
std::wstring ExpandSystemRoot(std::wstring_view reference, std::wstring_view windowsDir);

// True when the path names an existing file that is not a folder.
bool FileExists(const std::wstring& path);
std::wstring FileTitle(std::wstring_view path);
std::wstring FolderOfPath(std::wstring_view path);
std::wstring FileBaseName(std::wstring_view path);

// Waits the given seconds while the thread's pending window messages are handled.
void Pause(float seconds);
// Handles the thread's pending window messages and returns; false when it met the quit message, which it
// leaves for the loop that owns it.
bool DoEvents();
