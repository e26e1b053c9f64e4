// The catalogue's rows, in display order, and the named rules that irregular rows point to.
#include "icons/catalogue.h"
#include "icons/catalogue_variants.h"

namespace {

// --- Rules

const std::wstring& InternetKey(const CatalogueVariants& v) {
    return v.InternetKey;
}
const std::wstring& InBoxKey(const CatalogueVariants& v) {
    return v.InBoxKey;
}
const std::wstring& DialUpKey(const CatalogueVariants& v) {
    return v.DialUpKey;
}

IconRef Shell32(const StartupFacts& facts, std::int16_t index) {
    return {facts.SystemDir + L"\\shell32.dll", index};
}

IconRef InBoxIcon(const StartupFacts&, const CatalogueVariants& v) {
    return v.InBoxIcon;
}
IconRef DialUpIcon(const StartupFacts&, const CatalogueVariants& v) {
    return v.DialUpIcon;
}
IconRef PaintIcon(const StartupFacts&, const CatalogueVariants& v) {
    return {v.PaintFile, 1};
}
IconRef MediaPlayerIcon(const StartupFacts&, const CatalogueVariants& v) {
    return {v.MediaPlayerFile, 0};
}
IconRef WordPadRichTextIcon(const StartupFacts&, const CatalogueVariants& v) {
    return {v.WordPadFile, 1};
}
IconRef WordPadWriteIcon(const StartupFacts&, const CatalogueVariants& v) {
    return {v.WordPadFile, 2};
}
IconRef TextIcon(const StartupFacts& f, const CatalogueVariants& v) {
    return Shell32(f, v.Indexes.Text);
}
IconRef BatchIcon(const StartupFacts& f, const CatalogueVariants& v) {
    return Shell32(f, v.Indexes.Batch);
}
IconRef SettingsFileIcon(const StartupFacts& f, const CatalogueVariants& v) {
    return Shell32(f, v.Indexes.SettingsFile);
}
IconRef ControlPanelIcon(const StartupFacts& f, const CatalogueVariants& v) {
    return Shell32(f, v.Indexes.ControlPanel);
}
IconRef PrintersIcon(const StartupFacts& f, const CatalogueVariants& v) {
    return Shell32(f, v.Indexes.Printers);
}
IconRef UsersGroupIcon(const StartupFacts& f, const CatalogueVariants& v) {
    return Shell32(f, v.Indexes.UsersGroup);
}

bool WithIE4Shell(const StartupFacts& f, const CatalogueVariants&) {
    return f.HasIE4Shell;
}
bool OnWindowsNT(const StartupFacts& f, const CatalogueVariants&) {
    return f.IsNT();
}
bool WithUrlHistory(const StartupFacts&, const CatalogueVariants& v) {
    return v.HasUrlHistory();
}

// --- Row builders

constexpr IconSource Sys(std::wstring_view file, std::int16_t index) {
    return {IconBase::SystemDir, file, index, nullptr};
}
constexpr IconSource Win(std::wstring_view file, std::int16_t index) {
    return {IconBase::WindowsDir, file, index, nullptr};
}
constexpr IconSource By(IconRule rule) {
    return {IconBase::Rule, {}, 0, rule};
}
constexpr IconSource NoIcon() {
    return {IconBase::None, {}, 0, nullptr};
}

struct Row {
    CatalogueEntry e;

    constexpr Row When(Condition condition) const {
        Row r = *this;
        r.e.condition = condition;
        return r;
    }
    constexpr Row Default(IconSource icon) const {
        Row r = *this;
        r.e.defaultIcon = icon;
        return r;
    }
    constexpr Row Fallback(IconSource icon) const {
        Row r = *this;
        r.e.fallback = icon;
        return r;
    }
    constexpr Row Named(CaptionKind kind) const {
        Row r = *this;
        r.e.captionKind = kind;
        return r;
    }
    constexpr Row Captioned(std::wstring_view caption) const {
        Row r = *this;
        r.e.caption = caption;
        return r;
    }
    constexpr operator CatalogueEntry() const { return e; }
};

constexpr Row ShellObject(std::wstring_view key, std::wstring_view clsid, IconSource fallback) {
    CatalogueEntry e;
    e.key = key;
    e.kind = LocationKind::ShellObject;
    e.where = clsid;
    e.captionKind = CaptionKind::DisplayName;
    e.hasNameLocation = true;
    e.fallback = fallback;
    return {e};
}

constexpr Row VariantObject(std::wstring_view key, KeyRule variantKey, IconSource fallback) {
    Row r = ShellObject(key, {}, fallback);
    r.e.variantKey = variantKey;
    return r;
}

// The two bin entries share one name, which Apply stores from the empty bin's caption.
constexpr Row RecycleBin(std::wstring_view key, std::wstring_view value, std::wstring_view suffix,
                         bool storesName, IconSource fallback) {
    Row r = ShellObject(key, RecycleBinClsid, fallback);
    r.e.objectValue = value;
    r.e.captionKind = CaptionKind::RecycleBin;
    r.e.nameSuffix = suffix;
    r.e.hasNameLocation = storesName;
    return r;
}

// Shell icon numbers double as the fallback index into shell32.dll.
constexpr Row ShellIcon(std::wstring_view key, std::int16_t number) {
    CatalogueEntry e;
    e.key = key;
    e.kind = LocationKind::ShellIcon;
    e.shellIcon = number;
    e.fallback = Sys(L"\\shell32.dll", number);
    return {e};
}

constexpr Row FileType(std::wstring_view key, std::wstring_view extension, IconSource fallback) {
    CatalogueEntry e;
    e.key = key;
    e.kind = LocationKind::FileType;
    e.where = extension;
    e.fallback = fallback;
    return {e};
}

constexpr Row Pointer(std::wstring_view key, std::wstring_view value, std::int16_t index) {
    CatalogueEntry e;
    e.key = key;
    e.kind = LocationKind::Pointer;
    e.where = value;
    e.fallback = {IconBase::OwnExe, {}, index, nullptr};
    return {e};
}

// --- The rows

constexpr CatalogueEntry Desktop[] = {
    ShellObject(L"My Computer", L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", Win(L"\\explorer.exe", 0)),
    ShellObject(L"Network Neighborhood", L"{208D2C60-3AEA-1069-A2D7-08002B30309D}",
                Sys(L"\\shell32.dll", 17)),
    VariantObject(L"The Internet", InternetKey, Sys(L"\\mshtml.dll", 0)),
    VariantObject(L"In Box", InBoxKey, By(InBoxIcon)),
    ShellObject(L"My Briefcase", L"{85BBD920-42A0-1069-A2E4-08002B30309D}", Sys(L"\\syncui.dll", 0)),
    RecycleBin(L"Recycle Bin (empty)", L"Empty", L" (empty)", true, Sys(L"\\shell32.dll", 31)),
    RecycleBin(L"Recycle Bin (full)", L"Full", L" (full)", false, Sys(L"\\shell32.dll", 32)),
};

constexpr CatalogueEntry Start[] = {
    ShellIcon(L"Programs", 19),
    ShellIcon(L"Favorites", 43).When(WithIE4Shell),
    ShellIcon(L"Documents", 20),
    ShellIcon(L"Settings", 21),
    ShellIcon(L"Find", 22),
    ShellIcon(L"Help", 23),
    ShellIcon(L"Run...", 24),
    ShellIcon(L"Log Off...", 44).When(WithIE4Shell),
    ShellIcon(L"Suspend", 25),
    ShellIcon(L"Shut Down...", 27),
    ShellIcon(L"Settings - Control Panel", 35).Default(By(ControlPanelIcon)),
    ShellIcon(L"Settings - Printers", 37).Default(By(PrintersIcon)),
};

constexpr CatalogueEntry Folders[] = {
    ShellIcon(L"Closed Folder", 3),
    ShellIcon(L"Open Folder", 4),
    ShellIcon(L"Program Group", 36),
    ShellIcon(L"Users Program Group", 42).Fallback(By(UsersGroupIcon)).When(OnWindowsNT),
    ShellObject(L"Control Panel", L"{21EC2020-3AEA-1069-A2DD-08002B30309D}", By(ControlPanelIcon)),
    VariantObject(L"Dial-Up Networking", DialUpKey, By(DialUpIcon)),
    ShellObject(L"Printers", L"{2227A280-3AEA-1069-A2DE-08002B30309D}", By(PrintersIcon)),
    ShellObject(L"Url History", UrlHistoryClsid, Sys(L"\\shdocvw.dll", 36))
        .Named(CaptionKind::UrlHistory)
        .When(WithUrlHistory),
    ShellObject(L"Subscriptions", L"{F5175861-2688-11d0-9C5E-00AA00A45957}", Sys(L"\\Webcheck.dll", 0))
        .Default(Sys(L"\\webcheck.dll", 0))
        .When(WithIE4Shell),
    ShellObject(L"ActiveX Cache", L"{88C6C381-2E85-11D0-94DE-444553540000}", Sys(L"\\occache.dll", 0))
        .When(WithIE4Shell),
};

constexpr CatalogueEntry Drives[] = {
    ShellIcon(L"Floppy Drive 5.25", 5).Captioned(L"Floppy Drive 5\u00BC"),
    ShellIcon(L"Floppy Drive 3.5", 6).Captioned(L"Floppy Drive 3\u00BD"),
    ShellIcon(L"Hard Drive", 8),
    ShellIcon(L"Network Drive (connected)", 9),
    ShellIcon(L"Network Drive (offline)", 10),
    ShellIcon(L"CD-ROM Drive", 11),
    ShellIcon(L"Removable Drive", 7),
    ShellIcon(L"RAM Drive", 12),
};

constexpr CatalogueEntry Others[] = {
    ShellIcon(L"Shortcut Overlay", 29), ShellIcon(L"Sharing Overlay", 28), ShellIcon(L"Desktop", 34),
    ShellIcon(L"Entire Network", 13),   ShellIcon(L"Workgroup", 18),       ShellIcon(L"Computer", 15),
    ShellIcon(L"Audio CD", 40),         ShellIcon(L"Printer", 16),
};

constexpr CatalogueEntry Apps[] = {
    FileType(L"Bitmap Image", L".bmp", By(PaintIcon)),
    FileType(L"Configuration Settings", L".ini", By(SettingsFileIcon)),
    ShellIcon(L"Default Icon", 0),
    ShellIcon(L"Default Document", 1),
    FileType(L"GIF Image", L".gif", Sys(L"\\mshtml.dll", 8)).Default(Sys(L"\\mshtml.dll", 9)),
    FileType(L"Internet Document", L".html", Sys(L"\\mshtml.dll", 1)),
    FileType(L"JPEG Image", L".jpeg", Sys(L"\\mshtml.dll", 8)).Default(Sys(L"\\mshtml.dll", 9)),
    FileType(L"Media Clip", L".mmm", By(MediaPlayerIcon)),
    FileType(L"Movie Clip", L".mpeg", Sys(L"\\quartz.dll", 3)),
    ShellIcon(L"MS-DOS Application", 2),
    FileType(L"MS-DOS Batch File", L".bat", By(BatchIcon)),
    FileType(L"MIDI Sequence", L".mid", Sys(L"\\quartz.dll", 8)),
    FileType(L"Rich Text Format", L".rtf", Sys(L"\\mshtml.dll", 1)).Default(By(WordPadRichTextIcon)),
    FileType(L"Text Document", L".txt", By(TextIcon)),
    FileType(L"Video Clip", L".avi", Sys(L"\\quartz.dll", 0)),
    FileType(L"Wave Sound", L".wav", Sys(L"\\quartz.dll", 4)),
    FileType(L"Write Document", L".wri", By(WordPadWriteIcon)),
    FileType(L"Zip File", L".zip", Sys(L"\\quartz.dll", 4)).Default(NoIcon()),
};

// Fallback and Default: the program's own pictures of the Windows default pointers, 1 to 14.
constexpr CatalogueEntry Pointers[] = {
    Pointer(L"Normal Select", L"Arrow", 1),
    Pointer(L"Help Select", L"Help", 2),
    Pointer(L"Working In Background", L"AppStarting", 3),
    Pointer(L"Busy", L"Wait", 4),
    Pointer(L"Precision Select", L"Crosshair", 5),
    Pointer(L"Text Select", L"IBeam", 6),
    Pointer(L"Handwriting", L"NWPEN", 7),
    Pointer(L"Unavailable", L"No", 8),
    Pointer(L"Vertical Resize", L"SizeNS", 9),
    Pointer(L"Horizontal Resize", L"SizeWE", 10),
    Pointer(L"Diagonal Resize 1", L"SizeNWSE", 11),
    Pointer(L"Diagonal Resize 2", L"SizeNESW", 12),
    Pointer(L"Move", L"SizeAll", 13),
    Pointer(L"Alternate Select", L"UpArrow", 14),
};

} // namespace

std::span<const CatalogueEntry> CatalogueEntries(IconCategory category) {
    switch (category) {
    case IconCategory::Desktop:
        return Desktop;
    case IconCategory::Start:
        return Start;
    case IconCategory::Folders:
        return Folders;
    case IconCategory::Drives:
        return Drives;
    case IconCategory::Others:
        return Others;
    case IconCategory::Apps:
        return Apps;
    case IconCategory::Pointers:
        return Pointers;
    }
    return {};
}
