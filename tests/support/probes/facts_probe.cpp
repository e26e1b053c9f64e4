// Writes the start-up facts the real detection finds to the file named, one a line, for the start-up test.
#include "platform/text.h"
#include "ui/startup.h"

#include <cstdio>

int main(int argc, char** argv) {
    FILE* out = argc > 1 ? std::fopen(argv[1], "w") : nullptr;
    if (!out) return 1;
    StartupFacts f = FindStartupFacts();
    auto line = [out](const char* name, const std::wstring& value) {
        std::fprintf(out, "%s=%s\n", name, text::Narrow(value).c_str());
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
    return std::fclose(out);
}
