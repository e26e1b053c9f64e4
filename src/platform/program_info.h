#pragma once
// Where the program's author can be found: shown in the About window, opened from the Help menu and the
// toolbar, and written into every theme file's header. The domain is reserved, so nothing real answers.
inline constexpr wchar_t ProgramWebSite[] = L"https://www.korvath.example/tessaly";
inline constexpr wchar_t ProgramEmail[] = L"tessaly@korvath.example";
inline constexpr wchar_t IconThemesPage[] = L"/themes.htm"; // below the web site
inline constexpr wchar_t MailtoPrefix[] = L"mailto:";
