#include "apply/apply.h"

#include "apply/shell_refresh.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "session/session.h"

void ApplyChanges(Session& session, SystemPort& system, PromptPort& prompts) {
    system.SetBusy(true);
    if (!session.AutoApply) ApplySettings(session, system);
    ApplyIcons(session, system);
    Registry::WriteString(ProgramSettingsKey, CurrentThemeValue, session.CurrentThemePath);
    if (session.IconCacheDirty) RebuildIconCache(session, system, prompts);
    if (session.RestartNeeded) AskRestart(session, system, prompts);
    session.MarkApplied();
    system.SetBusy(false);
}
