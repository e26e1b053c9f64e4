#include "icons/catalogue_variants.h"

#include "registry/registry.h"

namespace {

const std::wstring InternetNameSpace =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
    L"Desktop\\NameSpace\\{3DC7A020-0ACD-11CF-A9BB-00AA004AE837}";
const std::wstring InternetShellKey = L"HKEY_CLASSES_ROOT\\CLSID\\{3DC7A020-0ACD-11CF-A9BB-00AA004AE837}";
const std::wstring InternetPlainKey = L"HKEY_CLASSES_ROOT\\CLSID\\{FBF23B42-E3F0-101B-8488-00AA003E56F8}";
const std::wstring MessagingKey = L"HKEY_CLASSES_ROOT\\CLSID\\{00020D75-0000-0000-C000-000000000046}";
const std::wstring InBoxOtherKey = L"HKEY_CLASSES_ROOT\\CLSID\\{00020D76-0000-0000-C000-000000000046}";
const std::wstring DialUp95Key = L"HKEY_CLASSES_ROOT\\CLSID\\{992CFFA0-F557-101A-88EC-00DD010CCC48}";
const std::wstring DialUpNTKey = L"HKEY_CLASSES_ROOT\\CLSID\\{a4d92740-67cd-11cf-96f2-00aa00a11dd9}";

bool Failed(const std::wstring& read) {
    return read == Registry::ErrorText;
}

} // namespace

ShellIndexes ShellIndexesFor(std::wstring_view ieVersion) {
    std::wstring_view shell = ieVersion.substr(0, 4);
    if (shell == L"4.71") return {63, 64, 62, 50, 51, 42};
    if (shell == L"4.72") return {64, 65, 63, 51, 52, 42};
    return {};
}

bool CatalogueVariants::HasUrlHistory() const {
    return !Failed(UrlHistoryName);
}

const std::wstring& CatalogueVariants::ClassName(std::wstring_view extension) const {
    static const std::wstring none;
    for (const auto& type : FileTypes)
        if (type.extension == extension) return type.className;
    return none;
}

std::wstring ReadClsidName(const std::wstring& fallbackCaption, std::wstring_view clsid) {
    std::wstring name = Registry::ReadString(std::wstring(ClsidRoot) + std::wstring(clsid), L"");
    return Failed(name) || name.empty() ? fallbackCaption : name;
}

CatalogueVariants FindCatalogueVariants(const StartupFacts& facts) {
    CatalogueVariants v;
    const std::wstring& s = facts.SystemDir;
    // Any Windows that is not 95 takes the NT files and keys: the variants test for Windows 95.
    const bool win95 = facts.Is95();

    v.InternetKey =
        Failed(Registry::ReadString(InternetNameSpace, L"")) ? InternetPlainKey : InternetShellKey;
    const bool noMessaging = Failed(Registry::ReadString(MessagingKey + L"\\DefaultIcon", L"")) &&
                             Failed(Registry::ReadString(MessagingKey + L"\\Shell", L""));
    v.InBoxKey = noMessaging ? InBoxOtherKey : MessagingKey;
    v.DialUpKey = win95 ? DialUp95Key : DialUpNTKey;

    if (win95) {
        v.InBoxIcon = {s + L"\\mapi32.dll", 3};
        v.DialUpIcon = {s + L"\\shell32.dll", 33};
        v.PaintFile = L"C:\\Program Files\\Accessories\\Mspaint.exe";
        v.MediaPlayerFile = facts.WindowsDir + L"\\mplayer.exe";
        v.WordPadFile = L"C:\\Program Files\\Accessories\\Wordpad.exe";
    } else {
        v.InBoxIcon = {L"C:\\Program Files\\Windows NT\\Windows Messaging\\exchng32.exe", 0};
        v.DialUpIcon = {s + L"\\rasshell.dll", 0};
        v.PaintFile = s + L"\\Mspaint.exe";
        v.MediaPlayerFile = s + L"\\mplay32.exe";
        v.WordPadFile = L"C:\\Program Files\\Windows NT\\Accessories\\Wordpad.exe";
    }
    v.Indexes = ShellIndexesFor(facts.IEVersion);

    for (const CatalogueEntry& entry : CatalogueEntries(IconCategory::Apps)) {
        if (entry.kind != LocationKind::FileType) continue;
        std::wstring extension(entry.where);
        std::wstring name = Registry::ReadString(L"HKEY_CLASSES_ROOT\\" + extension, L"");
        v.FileTypes.push_back({extension, Failed(name) ? std::wstring() : name});
    }

    v.UrlHistoryName = Registry::ReadString(std::wstring(ClsidRoot) + std::wstring(UrlHistoryClsid), L"");
    v.RecycleBinName = ReadClsidName(L"Recycle Bin", RecycleBinClsid);
    return v;
}
