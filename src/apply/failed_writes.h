#pragma once
// Telling the user which writes of an Apply or an undo did not happen, and why, in short words.
#include "platform/ports.h"
#include "registry/write_recorder.h"

#include <string>
#include <vector>

// "access denied", "not found", ...; the number for a reason without words of its own.
std::wstring FailureReason(LONG error);
// The setting or item a failed write belongs to: the subject its writer named, else the setting whose
// value it is, else the registry location.
std::wstring FailureName(const Registry::FailedWrite& failure);
// "<name>: <reason>", each line once, in the order the writes failed.
std::vector<std::wstring> FailureLines(const std::vector<Registry::FailedWrite>& failures);
// One prompt for all of them; nothing when there are none.
void ReportFailedWrites(PromptPort& prompts, const std::vector<Registry::FailedWrite>& failures);
