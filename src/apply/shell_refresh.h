#pragma once
// Making the running shell take notice after Apply: the icon cache rebuild and the restart offer.
#include "platform/ports.h"

class Session;

// Nudges "Shell Icon Size" up by one and back, announcing each change, so the shell drops its cached
// icons; clears IconCacheDirty and shows the rebuild notice unless it was switched off.
void RebuildIconCache(Session& session, SystemPort& system, PromptPort& prompts);
// Asks whether to restart now: Yes restarts (with the shutdown privilege on Windows NT), No records that
// the user declined. RestartNeeded is clear afterwards in every case.
void AskRestart(Session& session, SystemPort& system, PromptPort& prompts);
