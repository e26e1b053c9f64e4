#include "apply/undo.h"

#include "apply/failed_writes.h"
#include "apply/shell_refresh.h"
#include "icons/catalogue_reader.h"
#include "platform/late_bound.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/reg_file.h"
#include "session/session.h"
#include "settings/settings_catalogue.h"

#include <shlobj.h>

namespace {

std::wstring folderOverride;

std::wstring LocalAppData() {
    if (!folderOverride.empty()) return folderOverride;
    auto* folderPath = LateBound<decltype(SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    wchar_t path[MAX_PATH] = {};
    if (!folderPath || FAILED(folderPath(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                         SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

std::wstring RecordFolder() {
    const std::wstring base = LocalAppData();
    return base.empty() ? L"" : base + L"\\Korvath\\Tessaly";
}

} // namespace

std::wstring LastApplyRecordPath() {
    const std::wstring folder = RecordFolder();
    return folder.empty() ? L"" : folder + L"\\Last Apply.reg";
}

void SetLastApplyFolder(std::wstring folder) {
    folderOverride = std::move(folder);
}

bool LastApplyRecordExists() {
    const std::wstring path = LastApplyRecordPath();
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SaveLastApplyRecord(Registry::WriteRecorder& recorder) {
    const std::wstring path = LastApplyRecordPath();
    if (path.empty()) return false;
    recorder.DropUnchanged();
    if (!recorder.Empty()) {
        const auto sections = recorder.UndoSections();
        if (RegFile::Save(path, sections)) return true;
        // The first record makes its folders.
        CreateDirectoryW((LocalAppData() + L"\\Korvath").c_str(), nullptr);
        CreateDirectoryW(RecordFolder().c_str(), nullptr);
        if (RegFile::Save(path, sections)) return true;
    }
    DeleteFileW(path.c_str());
    return false;
}

bool RefreshFromRegistry(Session& session) {
    bool iconsChanged = false;
    IconLists fresh(session.Facts.OwnExePath, &session.Folders);
    Add_Icons(session.Facts, session.Variants, fresh);
    for (IconCategory category : IconCategories) {
        IconListModel& list = session.Lists[category];
        bool listChanged = false;
        for (const IconListItem& item : fresh[category].Items()) {
            const IconListItem* now = list.Find(item.Key);
            if (!now) continue; // a list never gains or loses items while the program runs
            if (now->IconPath != item.IconPath || now->IconIndex != item.IconIndex) iconsChanged = true;
            if (now->IconPath != item.IconPath || now->IconIndex != item.IconIndex ||
                now->Caption != item.Caption)
                listChanged |= list.Change(item.Key, item.Caption, item.IconPath, item.IconIndex);
        }
        if (listChanged) list.ListRefresh();
    }

    SettingsState settings;
    Add_TreeItems(session.Facts, settings);
    for (const SettingNode& node : settings.Nodes()) {
        if (node.Kind == SettingKind::Toggle) session.Settings.SetImage(node.Key, node.Image);
        if (node.Kind == SettingKind::Number) {
            session.Settings.SetImage(node.Key, node.Image);
            session.Settings.SetStagedText(node.Key, settings.StagedText(node.Key));
        }
    }
    for (const SettingRow& row : SettingRows())
        if (auto on = settings.UnlistedToggle(std::wstring(row.Key)))
            session.Settings.SetUnlistedToggle(std::wstring(row.Key), *on);
    // A folder verb loaded already is loaded again; one never loaded stays for first need.
    const std::wstring verbKey(SettingKeys::DefaultMenuItem);
    if (!session.Settings.StagedText(verbKey).empty())
        session.Settings.SetStagedText(verbKey, ReadFolderVerb());

    const std::wstring theme = Registry::ReadString(ProgramSettingsKey, CurrentThemeValue);
    session.CurrentThemePath = theme == Registry::ErrorText ? L"" : theme;
    session.IconCacheDirty = session.RestartNeeded = false;
    session.MarkApplied();
    return iconsChanged;
}

UndoResult UndoLastApply(Session& session, SystemPort& system, PromptPort& prompts) {
    const std::wstring path = LastApplyRecordPath();
    std::vector<RegFile::Section> sections;
    switch (path.empty() ? RegFile::LoadResult::Missing : RegFile::Load(path, sections)) {
    case RegFile::LoadResult::Missing:
        return UndoResult::NoRecord;
    case RegFile::LoadResult::Damaged:
        Messages::ShowUndoRecordDamaged(prompts);
        return UndoResult::Damaged;
    case RegFile::LoadResult::Loaded:
        break;
    }
    if (Messages::AskUndoLastApply(prompts) != 1) return UndoResult::Cancelled;

    system.SetBusy(true);
    Registry::WriteRecorder failures(false);
    RegFile::Import(sections);
    const bool iconsChanged = RefreshFromRegistry(session);
    SettingWriteContext announce{session.Settings, session.Facts, system, session.SelectedTab};
    AnnounceSettings(announce); // Apply's system calls, from the state just read back
    system.SetSystemParameter(SPI_SETCURSORS, 0, {}, 0);
    if (iconsChanged) {
        // The rebuild stores the icon size, and may create its key; both go back as the record left them.
        std::vector<RegFile::Section> putBack;
        {
            Registry::WriteRecorder rebuild;
            RebuildIconCache(session, system, prompts);
            putBack = rebuild.UndoSections();
        }
        RegFile::Import(putBack);
    }
    system.SetBusy(false);
    if (!failures.Failures().empty()) {
        ReportFailedWrites(prompts, failures.Failures());
        return UndoResult::PartlyUndone;
    }
    DeleteFileW(path.c_str());
    return UndoResult::Undone;
}
