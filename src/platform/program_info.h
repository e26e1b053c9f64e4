#pragma once
// The program's name, its author's web page and e-mail address: shown in the About window, opened from the
// Help menu and the toolbar, written into every theme file's header. The domain is a reserved one.
#include <string_view>

inline constexpr std::wstring_view ProgramName = L"Tessaly";
inline constexpr std::wstring_view ProgramTitle = L"Tessaly 2.02";
inline constexpr std::wstring_view ProgramWebSite = L"https://www.korvath.example/tessaly";
inline constexpr std::wstring_view ProgramEmail = L"tessaly@korvath.example";
// Appended to the web site for the page of further icon themes.
inline constexpr std::wstring_view IconThemesPage = L"/themes.htm";
// Put before the e-mail address to open a new message.
inline constexpr std::wstring_view MailtoPrefix = L"mailto:";
