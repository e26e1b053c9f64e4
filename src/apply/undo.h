#pragma once
// Undo Last Apply: every Apply leaves a registry file that puts back what it changed, in the user's local
// application data folder. Undo reads it whole, asks, imports it, reads the session again from the
// registry, tells the system as Apply does, and deletes the file.
#include "platform/ports.h"
#include "registry/reg_file.h"
#include "registry/write_recorder.h"

#include <string>

class Session;

// "<local application data>\Korvath\Tessaly\Last Apply.reg".
std::wstring LastApplyRecordPath();
// Tests give a folder of their own to stand for the local application data folder; empty: the real one.
void SetLastApplyFolder(std::wstring folder);
bool LastApplyRecordExists();

// Replaces the record with what undoes the recorder's changes, less values written over and back. A
// record that cannot be saved, or an Apply that changed nothing, leaves no file: an older record would
// undo the wrong Apply.
bool SaveLastApplyRecord(Registry::WriteRecorder& recorder);

enum class UndoResult { NoRecord, Damaged, Cancelled, Undone, PartlyUndone };
// A damaged record is reported and kept; one that could be put back only in part is kept too, after the
// failures are listed, so the user may try again.
UndoResult UndoLastApply(Session& session, SystemPort& system, PromptPort& prompts);

// Reads the icon lists and the settings tree again from the registry, changing only what differs, and
// leaves nothing unapplied. True when an icon or pointer changed.
bool RefreshFromRegistry(Session& session);
// The same for a session that showed the registry as it was before an import without failures: reads
// again only what the import changed.
bool RefreshFromImport(Session& session, const RegFile::Outcome& outcome);
