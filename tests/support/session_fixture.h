#pragma once
// A session on a throwaway machine: facts built directly, the registry in a sandbox, the ports scripted.
// Arrange the registry first, then Load(), which reads it as start-up does.
#include "apply/undo.h"
#include "icons/catalogue_variants.h"
#include "platform/startup_facts.h"
#include "session/session.h"
#include "support/icon_files.h"
#include "support/registry_sandbox.h"
#include "support/scripted_ports.h"

#include <memory>
#include <string>
#include <vector>

// The calls a recording port saw, joined by "|", so that a difference prints readably.
inline std::wstring Calls(const RecordingSystemPort& port) {
    std::wstring out;
    for (const auto& call : port.calls) out += (out.empty() ? L"" : L"|") + call;
    return out;
}

// Every toggle the tree can switch; the ones shown unavailable stay so.
inline void SetEveryToggle(Session& s, bool on) {
    std::vector<std::wstring> keys;
    for (const SettingNode& n : s.Settings.Nodes())
        if (n.Kind == SettingKind::Toggle && n.Image != SettingImage::Unavailable) keys.push_back(n.Key);
    for (const auto& key : keys) s.Settings.SetImage(key, on ? SettingImage::On : SettingImage::Off);
}

struct SessionFixture {
    RegistrySandbox sandbox; // first: everything below reads and writes inside it
    TempMachine machine;
    // Apply's undo record goes to the throwaway folder, never to the prefix the test programs share.
    struct RecordFolder {
        explicit RecordFolder(const std::wstring& folder) { SetLastApplyFolder(folder); }
        ~RecordFolder() { SetLastApplyFolder({}); }
    } recordFolder{machine.root};
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
