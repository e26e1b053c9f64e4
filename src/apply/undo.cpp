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

namespace {

// Shows an item as read now; true when its icon differs from the one shown.
bool Show(IconListModel& list, const IconListItem& now, const std::wstring& caption, const IconRef& icon,
          bool& listChanged) {
    const bool iconDiffers = now.IconPath != icon.file || now.IconIndex != icon.index;
    if (iconDiffers || now.Caption != caption)
        listChanged |= list.Change(now.Key, caption, icon.file, icon.index);
    return iconDiffers;
}

// What Add_Icons reads, read again only where the import changed it.
bool RefreshIcons(Session& session, const RegFile::Outcome& outcome) {
    bool iconsChanged = false;
    CatalogueReader reader(session.Facts.WindowsDir, &session.IconFiles);
    for (IconCategory category : IconCategories) {
        IconListModel& list = session.Lists[category];
        bool listChanged = false;
        for (const CatalogueLocation& at : session.Locations(category)) {
            if (!at.present) continue;
            const IconListItem* now = list.Find(at.entry->key);
            if (!now) continue;
            IconRef icon{now->IconPath, now->IconIndex};
            if (auto stored = outcome.Text(at.iconKey, at.iconValue))
                icon = reader.UsableIcon(*stored, at.fallback, at.IsPointer());
            const bool named = !at.nameKey.empty() &&
                               outcome.Find(at.nameKey, L"").kind != RegFile::Outcome::Kind::Unchanged;
            iconsChanged |= Show(list, *now, named ? CatalogueCaption(at, session.Variants) : now->Caption,
                                 icon, listChanged);
        }
        if (listChanged) list.ListRefresh();
    }
    return iconsChanged;
}

bool RefreshIcons(Session& session) {
    bool iconsChanged = false;
    IconLists fresh(session.Facts.OwnExePath, &session.Folders);
    Add_Icons(session.Facts, session.Variants, fresh, &session.IconFiles);
    for (IconCategory category : IconCategories) {
        IconListModel& list = session.Lists[category];
        bool listChanged = false;
        for (const IconListItem& item : fresh[category].Items())
            // A list never gains or loses items while the program runs.
            if (const IconListItem* now = list.Find(item.Key))
                iconsChanged |= Show(list, *now, item.Caption, {item.IconPath, item.IconIndex}, listChanged);
        if (listChanged) list.ListRefresh();
    }
    return iconsChanged;
}

void RefreshSettings(Session& session) {
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
}

void Settle(Session& session) {
    session.IconCacheDirty = session.RestartNeeded = false;
    session.MarkApplied();
}

} // namespace

bool RefreshFromRegistry(Session& session) {
    const bool iconsChanged = RefreshIcons(session);
    RefreshSettings(session);
    // A folder verb loaded already is loaded again; one never loaded stays for first need.
    const std::wstring verbKey(SettingKeys::DefaultMenuItem);
    if (!session.Settings.StagedText(verbKey).empty())
        session.Settings.SetStagedText(verbKey, ReadFolderVerb());
    const std::wstring theme = Registry::ReadString(ProgramSettingsKey, CurrentThemeValue);
    session.CurrentThemePath = theme == Registry::ErrorText ? L"" : theme;
    Settle(session);
    return iconsChanged;
}

bool RefreshFromImport(Session& session, const RegFile::Outcome& outcome) {
    const bool iconsChanged = RefreshIcons(session, outcome);
    RefreshTreeItems(session.Facts, session.Settings, outcome);
    const std::wstring verbKey(SettingKeys::DefaultMenuItem);
    if (!session.Settings.StagedText(verbKey).empty() &&
        outcome.Find(std::wstring(SettingsPaths::FolderShell), L"").kind != RegFile::Outcome::Kind::Unchanged)
        session.Settings.SetStagedText(verbKey, ReadFolderVerb());
    if (auto theme = outcome.Text(ProgramSettingsKey, CurrentThemeValue))
        session.CurrentThemePath = *theme == Registry::ErrorText ? L"" : *theme;
    Settle(session);
    return iconsChanged;
}

UndoResult UndoLastApply(Session& session, SystemPort& system, PromptPort& prompts) {
    const std::wstring path = LastApplyRecordPath();
    std::vector<RegFile::Section> sections;
    UniqueKernelHandle record;
    switch (path.empty() ? RegFile::LoadResult::Missing : RegFile::Load(path, sections, &record)) {
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
    // The session showed the registry as the last Apply left it; only what the record puts back changed,
    // unless the user has changed something since or a write failed.
    const bool matchedRegistry = !session.HasUnappliedChanges();
    session.Lists.FillAll(); // what is put back is told apart from what the lists show
    const RegFile::Outcome outcome(sections);
    RegFile::Import(sections);
    const bool iconsChanged = matchedRegistry && failures.Failures().empty()
                                  ? RefreshFromImport(session, outcome)
                                  : RefreshFromRegistry(session);
    SettingWriteContext announce{session.Settings, session.Facts, system, session.SelectedTab};
    AnnounceSettings(announce); // Apply's system calls, from the state just read back
    system.SetSystemParameter(SPI_SETCURSORS, 0, {}, 0);
    if (iconsChanged) {
        // The rebuild stores the icon size, and may create its key; both go back as the record left them.
        std::vector<RegFile::Section> putBack;
        {
            Registry::WriteRecorder rebuild;
            RebuildIconCache(session, system, prompts);
            rebuild.DropUnchanged(); // most often the size is back as it was
            putBack = rebuild.UndoSections();
        }
        RegFile::Import(putBack);
    }
    system.SetBusy(false);
    if (!failures.Failures().empty()) {
        ReportFailedWrites(prompts, failures.Failures());
        return UndoResult::PartlyUndone;
    }
    FILE_DISPOSITION_INFO remove{TRUE};
    if (!SetFileInformationByHandle(record.get(), FileDispositionInfo, &remove, sizeof remove)) {
        record.reset();
        DeleteFileW(path.c_str());
    }
    return UndoResult::Undone;
}
