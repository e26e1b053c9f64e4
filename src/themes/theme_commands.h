#pragma once
// Open Theme, Save Theme and Save Theme As: the commands that read theme files into the staged lists and
// write the lists out as ".tstheme" files. They speak to the user through the ports and reach the window
// only through the hooks.
#include "platform/ports.h"

#include <functional>
#include <string>

class Session;

struct ThemePorts {
    FileDialogPort& dialog;
    PromptPort& prompts;
    SystemPort& system; // the hourglass while a theme loads
    // The theme at this path became the current one (the session already names it): the caption and the
    // recent-themes list follow it.
    std::function<void(const std::wstring& path)> BecameCurrent;
    // Load-and-apply from the command line: apply what was loaded and end the program at once, without its
    // closing steps.
    std::function<void()> ApplyAndEnd;
};

// Save (toCurrent) overwrites the current theme after asking; Save As, or Save without a current theme,
// asks for a file. A file that cannot be written is reported and nothing changes.
void SaveTheme(Session& session, bool toCurrent, ThemePorts& ports);

// Loads the theme at path into the lists, or asks for one when path is empty. From the command line a
// leading "/a" and the character after it ask for load-and-apply, and a path in one pair of double quotes
// is used without them. True when a theme was loaded.
bool OpenTheme(Session& session, std::wstring path, bool fromCommandLine, ThemePorts& ports);

// The parts, for the benchmark and the tests.
// Writes the credits and every icon entry to path, the theme folder being path's folder.
void WriteThemeFile(Session& session, const std::wstring& path);
// The value, or empty when it is absent or shorter than two characters.
std::wstring ReadThemeValue(const std::wstring& section, const std::wstring& key, const std::wstring& path);
void LoadNativeTheme(Session& session, const std::wstring& path);
void LoadMotifTheme(Session& session, const std::wstring& path);
void LoadPlusTheme(Session& session, const std::wstring& path);
// Two backslashes or slashes (in either mix) at the start: a file on another machine.
bool IsNetworkPath(std::wstring_view path);
