#pragma once
#include "platform/startup_facts.h"

// Reads the machine once: Windows kind, folders, Plus!, display, Internet Explorer, own files.
StartupFacts FindStartupFacts();

// The running program's own file, whole.
std::wstring ModulePath();
