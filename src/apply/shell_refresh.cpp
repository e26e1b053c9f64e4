#include "apply/shell_refresh.h"

#include "platform/text.h"
#include "prompts/messages.h"
#include "registry/registry.h"
#include "session/session.h"

void RebuildIconCache(Session& session, SystemPort& system, PromptPort& prompts) {
    const std::wstring stored = Registry::ReadString(WindowMetricsKey, L"Shell Icon Size");
    // A missing or unreadable size, or one that is no number, is the shell's usual 32.
    const int size = text::ParseInt16(stored).value_or(32);
    Registry::WriteString(WindowMetricsKey, L"Shell Icon Size", std::to_wstring(size + 1));
    system.BroadcastSettingChange(SPI_SETICONMETRICS, {});
    Registry::WriteString(WindowMetricsKey, L"Shell Icon Size", std::to_wstring(size));
    system.BroadcastSettingChange(SPI_SETICONMETRICS, {});
    // Current shells keep icons per association until told that associations changed.
    system.NotifyAssociationsChanged();
    session.IconCacheDirty = false;
    Messages::ShowRebuildNotice(prompts, session.Facts.OsName);
}

void AskRestart(Session& session, SystemPort& system, PromptPort& prompts) {
    const int answer = Messages::AskRestart(prompts);
    if (answer == 0) session.RestartDeclined = true;
    if (answer == 1) {
        if (session.Facts.IsNT()) system.EnableShutdownPrivilege();
        system.ExitSystem(EWX_REBOOT);
    }
    session.RestartNeeded = false;
}
