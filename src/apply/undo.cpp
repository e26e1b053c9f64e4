#include "apply/undo.h"

#include "apply/failed_writes.h"
#include "apply/shell_refresh.h"
#include "icons/catalogue_reader.h"
#include "platform/text.h"
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
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                path)))
        return {};
    return path;
}

std::wstring RecordFolder() {
    const std::wstring base = LocalAppData();
    return base.empty() ? L"" : base + L"\\Korvath\\Tessaly";
}

// Apply's system calls for the settings, made from the state just read back.
void AnnounceSettings(const Session& session, SystemPort& system) {
    const SettingsState& s = session.Settings;
    auto flag = [&](const wchar_t* key) -> UINT { return s.IsOn(key) ? 1 : 0; };
    system.SetSystemParameter(SPI_SETBEEP, flag(L"Beep On Errors"), {}, 0);
    system.SetSystemParameter(
        SPI_SETANIMATION, sizeof(ANIMATIONINFO),
        ANIMATIONINFO{sizeof(ANIMATIONINFO), static_cast<int>(flag(L"Window Animation"))},
        SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    system.SetSystemParameter(SPI_SETICONTITLEWRAP, flag(L"Wrap Icon Titles"), {}, 0);
    system.SetSystemParameter(SPI_SETMOUSEBUTTONSWAP, flag(L"Swap Mouse Buttons"), {}, 0);
    for (auto [key, spi] : {std::pair{L"Double Click Height", SPI_SETDOUBLECLKHEIGHT},
                            {L"Double Click Width", SPI_SETDOUBLECLKWIDTH},
                            {L"Double Click Speed", SPI_SETDOUBLECLICKTIME},
                            {L"Drag Height", SPI_SETDRAGHEIGHT},
                            {L"Drag Width", SPI_SETDRAGWIDTH}})
        if (auto value = text::ParseInt32(s.StagedText(key)); value && *value >= 0)
            system.SetSystemParameter(spi, static_cast<UINT>(*value), {}, 0);
    system.SetSystemParameter(SPI_SETFONTSMOOTHING, flag(L"Font Smoothing") * (session.Facts.IsNT() ? 2 : 1),
                              {}, 0);
    system.SetSystemParameter(SPI_SETDRAGFULLWINDOWS, flag(L"Full Window Dragging"), {}, 0);
    std::wstring wallpaper = Registry::ReadString(std::wstring(SettingsPaths::Desktop), L"Wallpaper");
    if (wallpaper == Registry::ErrorText) wallpaper.clear();
    system.SetSystemParameter(SPI_SETDESKWALLPAPER, 0, wallpaper, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
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
    AnnounceSettings(session, system);
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
