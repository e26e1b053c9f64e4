#pragma once
// Apply: writes every staged setting, icon, name and pointer to the registry in a fixed order, tells the
// running system, then rebuilds the icon cache and offers a restart when the session asks for them.
// Every write is recorded (registry/write_recorder.h): the record is saved for Undo Last Apply before the
// restart question, and writes that failed are listed in one prompt.
#include "platform/ports.h"

class Session;

void ApplyChanges(Session& session, SystemPort& system, PromptPort& prompts);

// The parts, in the order ApplyChanges runs them; AutoApply leaves out the settings and the bitmap
// thumbnail setting.
void ApplySettings(Session& session, SystemPort& system);
void ApplyIcons(Session& session, SystemPort& system);
