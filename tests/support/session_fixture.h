#pragma once
// A session on a throwaway machine: facts built directly, the registry in a sandbox, the ports scripted.
// Arrange the registry first, then Load(), which reads it as start-up does.
#include "icons/catalogue_variants.h"
#include "platform/startup_facts.h"
#include "session/session.h"
#include "support/icon_files.h"
#include "support/registry_sandbox.h"
#include "support/scripted_ports.h"

#include <memory>
#include <string>

struct MachineKind {
    bool nt = false;
    bool plus = false;
    const wchar_t* ieVersion = L"Error"; // "4.71..." or "4.72..." give the Internet Explorer 4 shell
};

inline StartupFacts MachineFacts(const TempMachine& m, const MachineKind& kind) {
    StartupFacts f;
    f.OsKind = kind.nt ? L"Win NT" : L"Win 95";
    f.OsName = kind.nt ? L"Windows NT" : L"Windows 95";
    f.HasPlus = kind.plus;
    f.WindowsDir = m.windows;
    f.SystemDir = m.system;
    f.ColourDepth = 24;
    f.ScreenWidth = 1024;
    f.ScreenHeight = 768;
    f.IEVersion = kind.ieVersion;
    f.HasIE4Shell = IsIE4ShellVersion(kind.ieVersion);
    f.AppDir = m.app;
    f.OwnExePath = m.app + L"\\Tessaly.exe";
    f.HelpFile = m.app + L"\\Help.hlp";
    return f;
}

// The calls a recording port saw, joined by "|", so that a difference prints readably.
inline std::wstring Calls(const RecordingSystemPort& port) {
    std::wstring out;
    for (const auto& call : port.calls) out += (out.empty() ? L"" : L"|") + call;
    return out;
}

struct SessionFixture {
    RegistrySandbox sandbox; // first: everything below reads and writes inside it
    TempMachine machine;
    ScriptedPromptPort prompts;
    RecordingSystemPort system;
    std::unique_ptr<Session> session;

    Session& Load(const MachineKind& kind) { return LoadFacts(MachineFacts(machine, kind)); }
    Session& LoadFacts(StartupFacts facts) {
        CatalogueVariants variants = FindCatalogueVariants(facts);
        session = std::make_unique<Session>(std::move(facts), std::move(variants));
        session->Load();
        return *session;
    }
};
