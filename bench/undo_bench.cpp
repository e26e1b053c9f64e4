// The cost of Apply's undo record, and of putting it back. Apply with its recorder against the same parts of
// Apply run without one; Undo of a full Apply against the same registry changes made bare, one Win32 call
// each. Every round first flips every toggle and an icon, so each Apply has a full record to write.
#include "bench.h"

#include "apply/apply.h"
#include "apply/undo.h"
#include "icons/catalogue.h"
#include "registry/program_keys.h"
#include "registry/reg_file.h"
#include "registry/registry.h"
#include "session/session.h"
#include "support/session_fixture.h"

#include <algorithm>
#include <cstdio>

namespace {

void PrepareMachine(const TempMachine& m) {
    for (const wchar_t* clsid : bench::ShellObjectClsids)
        RawSetString(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + clsid, L"", L"Renamed");
    for (const CatalogueEntry& e : CatalogueEntries(IconCategory::Apps))
        if (e.kind == LocationKind::FileType)
            RawSetString(HKEY_CLASSES_ROOT, std::wstring(e.where), L"",
                         std::wstring(e.where.substr(1)) + L"file");
    RawSetString(HKEY_CLASSES_ROOT, L".bmp", L"", L"Paint.Picture");
    m.Write(m.app, L"a.ico", IconFileBytes(IconFileKind::Icon));
    m.Write(m.app, L"b.ico", IconFileBytes(IconFileKind::Icon));
}

// Every toggle and every icon of the Start, Drives and Others tabs to one side or the other.
void Flip(Session& s, const TempMachine& m, bool on) {
    std::vector<std::wstring> keys;
    for (const SettingNode& n : s.Settings.Nodes())
        if (n.Kind == SettingKind::Toggle) keys.push_back(n.Key);
    for (const auto& key : keys) s.Settings.SetImage(key, on ? SettingImage::On : SettingImage::Off);
    const std::wstring icon = m.app + (on ? L"\\a.ico" : L"\\b.ico");
    for (IconCategory c : {IconCategory::Start, IconCategory::Drives, IconCategory::Others})
        for (const IconListItem& item : std::vector(s.Lists[c].Items()))
            s.Lists[c].Change(item.Key, L"", icon, 0);
    s.MarkChanged();
}

// The registry editor's import, straight onto the Win32 calls.
void ImportBare(const std::vector<RegFile::Section>& sections) {
    for (const RegFile::Section& section : sections) {
        auto [root, subkey] = Registry::SplitRegPath(section.path);
        if (section.remove) {
            RegDeleteTreeW(root, subkey.c_str());
            RegDeleteKeyW(root, subkey.c_str());
            continue;
        }
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            continue;
        for (const RegFile::Value& v : section.values)
            if (v.data)
                RegSetValueExW(key, v.name.c_str(), 0, v.data->type,
                               reinterpret_cast<const BYTE*>(v.data->bytes.data()),
                               static_cast<DWORD>(v.data->bytes.size()));
            else
                RegDeleteValueW(key, v.name.c_str());
        RegCloseKey(key);
    }
}

// Undo's rounds and the bare rounds alternate, each right after an Apply of the same changes, so both put
// back the same record. On a fresh machine Apply creates most of its keys, so the record mostly removes
// them; on a machine Apply has written before, the record puts back values one by one.
void MeasureUndo(bool usedMachine, const char* label) {
    SessionFixture f;
    PrepareMachine(f.machine);
    Session& s = f.Load({true, true, L"4.72.3110.8"});
    const std::wstring record = LastApplyRecordPath();
    if (usedMachine) {
        Flip(s, f.machine, false);
        ApplyChanges(s, f.system, f.prompts);
        DeleteFileW(record.c_str());
    }
    std::vector<double> undo, bare, deletes;
    size_t values = 0;
    for (int round = 0; round < 21; ++round) {
        // Every Undo takes the machine back to where the rounds start: bare, or all "off". Turning
        // everything "on" then makes the same record every time; an "off" Apply on the bare machine would
        // create fewer keys and leave the bare side less to remove.
        Flip(s, f.machine, true);
        ApplyChanges(s, f.system, f.prompts);
        f.prompts.Answer(1);
        undo.push_back(bench::MedianMicros(1, [&] { UndoLastApply(s, f.system, f.prompts); }));
        f.prompts = {};
        f.system.calls.clear();

        Flip(s, f.machine, true);
        ApplyChanges(s, f.system, f.prompts);
        std::vector<RegFile::Section> sections;
        RegFile::Load(record, sections);
        values = 0;
        for (const auto& section : sections) values += section.values.size() + 1;
        bare.push_back(bench::MedianMicros(1, [&] { ImportBare(sections); }));
        deletes.push_back(bench::MedianMicros(1, [&] { DeleteFileW(record.c_str()); }));
        f.system.calls.clear();
    }
    std::printf("  %s: %zu keys and values put back\n", label, values);
    bench::Report("Undo Last Apply, full Apply (goal <= 1.5)", bench::Median(undo), bench::Median(bare));
    bench::ReportPaired("  each round against its own bare writes", undo, bare);
    // Deleting a file is slow under Wine and no registry write; shown apart for what it is.
    bench::Report("  of which deleting the record file", bench::Median(deletes), bench::Median(bare));
    bench::Report("  Undo less deleting the file", bench::Median(undo) - bench::Median(deletes),
                  bench::Median(bare));
}

} // namespace

TESSALY_BENCH(apply_recording) {
    bench::WaitForQuietRegistry();
    SessionFixture f;
    PrepareMachine(f.machine);
    Session& s = f.Load({true, true, L"4.72.3110.8"});
    auto recorded = [&] { ApplyChanges(s, f.system, f.prompts); };
    // Apply's parts in its order, with nothing noting what they replace.
    auto bare = [&] {
        f.system.SetBusy(true);
        ApplySettings(s, f.system);
        ApplyIcons(s, f.system);
        Registry::WriteString(ProgramSettingsKey, L"Current Theme", s.CurrentThemePath);
        s.MarkApplied();
        f.system.SetBusy(false);
    };
    std::vector<double> withRecord, without;
    bool on = false;
    for (int round = 0; round < 41; ++round) {
        Flip(s, f.machine, on = !on);
        without.push_back(bench::MedianMicros(1, bare));
        Flip(s, f.machine, on = !on);
        withRecord.push_back(bench::MedianMicros(1, recorded));
        f.system.calls.clear();
    }
    std::vector<RegFile::Section> sections;
    RegFile::Load(LastApplyRecordPath(), sections);
    size_t values = 0;
    for (const auto& section : sections) values += section.values.size() + 1;
    std::printf("  %zu keys and values in the last record\n", values);
    bench::Report("Apply with its undo record (goal <= 1.3)", bench::Median(withRecord),
                  bench::Median(without));
    bench::ReportPaired("  each round against its own Apply without", withRecord, without);
    // Writing a file is at the mercy of the disk, which other processes share; shown apart.
    bench::Report("  of which saving the record file",
                  bench::MedianMicros(21, [&] { RegFile::Save(LastApplyRecordPath(), sections); }),
                  bench::Median(without));
}

TESSALY_BENCH(undo_last_apply) {
    bench::WaitForQuietRegistry();
    MeasureUndo(false, "fresh machine");
    MeasureUndo(true, "machine written before");
}
