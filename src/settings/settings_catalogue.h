#pragma once
// The settings shown on the Shell tab, as one table in the order the tree shows them: key, caption,
// parent, kind, where the current value is read and how it is judged, setup defaults, side effects of
// toggling, and help topics. Rules that are not regular are named functions that their rows point to.
#include "platform/ports.h"
#include "platform/startup_facts.h"
#include "registry/program_keys.h"
#include "registry/reg_file.h"
#include "registry/registry.h"
#include "settings/settings_state.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The registry keys the settings live under.
namespace SettingsPaths {
inline constexpr std::wstring_view Sound = L"HKEY_CURRENT_USER\\Control Panel\\Sound";
inline constexpr std::wstring_view Desktop = L"HKEY_CURRENT_USER\\Control Panel\\desktop";
inline constexpr std::wstring_view Metrics = L"HKEY_CURRENT_USER\\Control Panel\\desktop\\WindowMetrics";
inline constexpr std::wstring_view Mouse = L"HKEY_CURRENT_USER\\Control Panel\\Mouse";
inline constexpr std::wstring_view Explorer =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr std::wstring_view ExplorerPolicies =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr std::wstring_view NetworkPolicies =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
inline constexpr std::wstring_view ProgramSettings = ProgramSettingsKey;
inline constexpr std::wstring_view FolderShell = L"HKEY_CLASSES_ROOT\\Folder\\Shell";
// The command of the context-menu verb that starts the program from My Computer.
inline constexpr std::wstring_view MyComputerVerbCommand =
    L"HKEY_CLASSES_ROOT\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\Shell\\TS\\Command";
} // namespace SettingsPaths

// Keys other code names directly.
namespace SettingKeys {
inline constexpr std::wstring_view ExtendedSounds = L"Extended Sounds On Errors";
inline constexpr std::wstring_view DefaultMenuItem = L"Default Menu Item";
inline constexpr std::wstring_view MenuShowDelay = L"Menu Show Delay";
inline constexpr std::wstring_view DelayUntilClicked = L"Delay Until Clicked";
inline constexpr std::wstring_view MyComputer = L"My Computer";
} // namespace SettingKeys

// The folder verbs the editor offers; "[Default]" stands for no verb.
inline constexpr std::wstring_view DefaultFolderVerb = L"[Default]";
inline constexpr std::wstring_view FolderVerbChoices[] = {L"[Default]", L"Open", L"Explore"};

enum class ValueType { Text, Dword, Binary };

// What one read returned, in the field its type fills.
struct ReadValue {
    std::wstring Text;                    // "Error" when unreadable
    std::int32_t Number = 0;              // 10 when unreadable
    std::optional<Registry::Bytes> Bytes; // no value when unreadable
};

struct ToggleRead;
using OnTest = bool (*)(const ReadValue& value, const ToggleRead& read, const StartupFacts& facts);

// Where a toggle's state is read and the test that says it is on. Text and Number are the test's operand.
struct ToggleRead {
    ValueType Type = ValueType::Text;
    std::wstring_view Path{};
    std::wstring_view Name{}; // empty: the key's default value
    OnTest IsOn = nullptr;
    std::wstring_view Text{};
    std::int32_t Number = 0;
};

// The upper end of a number's range: fixed, or the screen's size in pixels.
enum class RangeTop { Fixed, ScreenWidth, ScreenHeight };

struct NumberRead {
    std::wstring_view Path{};
    std::wstring_view Name{};
    std::wstring_view Fallback{}; // staged when the value is empty or unreadable; also the setup default
    std::wstring_view Unit{};     // "pixels" or "milliseconds"
    int Minimum = 0;
    int Maximum = 0; // with RangeTop::Fixed
    RangeTop Top = RangeTop::Fixed;
    // A value that means "not in use": the node shows disabled and the fallback is staged.
    std::wstring_view DisabledWhen{};
};

enum class RestartRule { Never, Always, OnNT };

struct SettingRow;
struct SettingWrite;

// What Apply hands each row's write: the staged state, the facts, the system to tell.
struct SettingWriteContext {
    SettingsState& State;
    const StartupFacts& Facts;
    SystemPort& System;
    int SelectedTab = 0;
};
using WriteRule = void (*)(const SettingRow& row, const SettingWrite& write, SettingWriteContext& context);

// What Apply stores for a row, where the row is read (a verb: the verb key above its Command), and the
// system call that makes it take effect at once (uiParam 1 or 0), where there is one.
struct SettingWrite {
    WriteRule Rule = nullptr; // null: Apply writes nothing for the row
    std::wstring_view OnText{}, OffText{};
    std::int32_t OnNumber = 0, OffNumber = 0;
    UINT Spi = 0;
};

struct SettingRow {
    std::wstring_view Key{};
    std::wstring_view Caption{}; // empty: the key
    std::wstring_view Parent{};  // empty: a top-level group
    SettingKind Kind = SettingKind::Group;
    bool NTOnly = false;
    bool Plus = false; // unavailable without the Plus! features
    ToggleRead Toggle{};
    NumberRead Number{};
    bool DefaultOn = false; // the toggle's setup default
    bool SetsIconCacheDirty = false;
    RestartRule Restart = RestartRule::Never;
    int HelpTopic = 0;
    SettingWrite Write{};

    std::wstring_view ShownCaption() const { return Caption.empty() ? Key : Caption; }
};

// Every row, on every system, in tree order.
std::span<const SettingRow> SettingRows();
// The rows Apply writes, in its own order (a few differ from the tree's).
std::span<const SettingRow* const> SettingsInApplyOrder();
// Writes every listed row in Apply's order.
void WriteSettings(SettingWriteContext& context);
// Only the system calls of every listed row, in Apply's order, from the staged state.
void AnnounceSettings(SettingWriteContext& context);
const SettingRow* FindSettingRow(std::wstring_view key);
// Whether this system shows a node for the row.
bool IsListed(const SettingRow& row, const StartupFacts& facts);
// The help topic of a key; 0 for nodes without one of their own.
int HelpTopic(std::wstring_view key);
// Whether toggling the row's setting calls for a restart on this system.
bool NeedsRestart(const SettingRow& row, const StartupFacts& facts);
// The largest value the editor allows for a number row.
int NumberMaximum(const NumberRead& number, const StartupFacts& facts);

// The text staged for a number: the value read, or the fallback; `disabled` tells whether it is not in use.
std::wstring StagedNumber(const NumberRead& number, const std::wstring& valueRead, bool* disabled = nullptr);

// The "My Computer" verb runs the program itself. The command stored is its path, quoted when it holds a
// space; a stored command counts as ours when it is that path with or without the quotes, in any case.
std::wstring MyComputerCommand(const std::wstring& ownExePath);
bool IsMyComputerCommand(std::wstring_view stored, const std::wstring& ownExePath);

// The folder verb stored now: the default value of the folder's shell key, or "[Default]" when that is
// empty or unreadable.
std::wstring ReadFolderVerb();
// Stages the folder verb on first need (first selection of its node, or Apply); a loaded verb stays.
void LoadFolderVerbIfEmpty(SettingsState& state);

// Builds every node this system shows, in tree order, and reads each setting's current state.
// No node is expanded or selected. Settings read without a node are kept as unlisted toggles.
void Add_TreeItems(const StartupFacts& facts, SettingsState& state);
// Reads again, into nodes Add_TreeItems made, only the settings whose values an import changed.
void RefreshTreeItems(const StartupFacts& facts, SettingsState& state, const RegFile::Outcome& outcome);
