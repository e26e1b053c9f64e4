#include "apply/apply.h"

#include "apply/failed_writes.h"
#include "apply/shell_refresh.h"
#include "apply/undo.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "registry/write_recorder.h"
#include "session/session.h"

void ApplyChanges(Session& session, SystemPort& system, PromptPort& prompts) {
    system.SetBusy(true);
    // Every write notes what it replaces, so the whole Apply can be undone, and whether it failed.
    std::vector<Registry::FailedWrite> failures;
    {
        Registry::WriteRecorder recorder;
        if (!session.AutoApply) ApplySettings(session, system);
        ApplyIcons(session, system);
        {
            Registry::WriteSubject subject(CurrentThemeValue);
            Registry::WriteString(ProgramSettingsKey, CurrentThemeValue, session.CurrentThemePath);
        }
        if (session.IconCacheDirty) RebuildIconCache(session, system, prompts);
        SaveLastApplyRecord(recorder);
        failures = recorder.Failures();
    }
    // Saved first: a restart must not lose the record.
    ReportFailedWrites(prompts, failures);
    if (session.RestartNeeded) AskRestart(session, system, prompts);
    session.MarkApplied();
    system.SetBusy(false);
}
