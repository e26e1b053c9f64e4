// Prints the start-up facts the real detection finds, one per line, for the start-up test.
#include "platform/text.h"
#include "ui/startup.h"

#include <cstdio>

int main() {
    StartupFacts f = FindStartupFacts();
    auto line = [](const char* name, const std::wstring& value) {
        std::printf("%s=%s\n", name, text::Narrow(value).c_str());
    };
    line("OsKind", f.OsKind);
    line("OsName", f.OsName);
    line("HasPlus", f.HasPlus ? L"1" : L"0");
    line("WindowsDir", f.WindowsDir);
    line("SystemDir", f.SystemDir);
    line("AppDir", f.AppDir);
    line("OwnExePath", f.OwnExePath);
    line("HelpFile", f.HelpFile);
    line("ColourDepth", std::to_wstring(f.ColourDepth));
    return 0;
}
