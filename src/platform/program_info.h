#pragma once
// The author's addresses, shown in the About window, opened from the Help menu and written into every
// theme file's header.
#include <string_view>

inline constexpr std::wstring_view ProgramWebSite = L"https://www.korvath.example/tessaly";
inline constexpr std::wstring_view ProgramEmail = L"tessaly@korvath.example";
