#pragma once
// Tools "Restore all &Settings": every setting of the tree back to its setup default, after a question.
// Like every edit it only stages; the next Apply writes the defaults.
#include "platform/ports.h"

class Session;

// Asks first; "OK" goes on, anything else (closing the question included) leaves everything as it was.
// True when the settings were restored. No warning is shown and `RestartNeeded` is not raised; the icon
// cache is marked for a rebuild.
bool RestoreAllSettings(Session& session, PromptPort& prompts, SystemPort& system);
