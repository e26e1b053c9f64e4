#include "platform/file_icon.h"

#include "platform/unique_handle.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace {

// A file's bytes, mapped whole for reading.
class MappedFile {
public:
    explicit MappedFile(const std::wstring& path) {
        UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) return;
        if (static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX) return;
        UniqueKernelHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping) return;
        bytes_ = static_cast<const std::uint8_t*>(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
        if (bytes_) size_ = static_cast<size_t>(size.QuadPart);
    }
    ~MappedFile() {
        if (bytes_) UnmapViewOfFile(bytes_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool IsOpen() const { return bytes_ != nullptr; }
    // The bytes [offset, offset + count), or null when they do not all lie in the file.
    const std::uint8_t* Span(size_t offset, size_t count) const {
        return bytes_ && offset <= size_ && count <= size_ - offset ? bytes_ + offset : nullptr;
    }
    template <typename T> std::optional<T> Read(size_t offset) const {
        const std::uint8_t* at = Span(offset, sizeof(T));
        if (!at) return std::nullopt;
        T value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }

private:
    const std::uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
};

// The resources of a program or library, read from its file as stored (not as loaded): each resource's
// address is translated through the section that holds it. Every offset is checked against the file.
class Resources {
public:
    explicit Resources(const MappedFile& file) : file_(file) {
        const auto dos = file.Read<IMAGE_DOS_HEADER>(0);
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0) return;
        const size_t nt = static_cast<size_t>(dos->e_lfanew);
        const auto signature = file.Read<DWORD>(nt);
        const auto header = file.Read<IMAGE_FILE_HEADER>(nt + sizeof(DWORD));
        if (!signature || *signature != IMAGE_NT_SIGNATURE || !header) return;
        isProgram_ = true;
        const size_t optional = nt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
        const auto magic = file.Read<WORD>(optional);
        std::optional<IMAGE_DATA_DIRECTORY> directory;
        if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
            if (const auto h = file.Read<IMAGE_OPTIONAL_HEADER64>(optional);
                h && h->NumberOfRvaAndSizes > IMAGE_DIRECTORY_ENTRY_RESOURCE)
                directory = h->DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
        } else if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
            if (const auto h = file.Read<IMAGE_OPTIONAL_HEADER32>(optional);
                h && h->NumberOfRvaAndSizes > IMAGE_DIRECTORY_ENTRY_RESOURCE)
                directory = h->DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
        }
        const size_t sections = optional + header->SizeOfOptionalHeader;
        for (WORD i = 0; i < header->NumberOfSections; ++i) {
            const auto section = file.Read<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER));
            if (!section) break;
            sections_.push_back(*section);
        }
        if (directory && directory->VirtualAddress) root_ = OffsetOf(directory->VirtualAddress, 0);
    }

    bool IsProgram() const { return isProgram_; }

    // The directory of every resource of a type, as a file offset.
    std::optional<size_t> TypeDirectory(WORD type) const {
        return root_ ? SubdirectoryById(*root_, type) : std::nullopt;
    }
    // A directory's entries in stored order: named ones first, then numbered ones by number.
    std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> Entries(size_t directory) const {
        std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> entries;
        const auto head = file_.Read<IMAGE_RESOURCE_DIRECTORY>(directory);
        if (!head) return entries;
        const size_t count = size_t{head->NumberOfNamedEntries} + head->NumberOfIdEntries;
        for (size_t i = 0; i < count; ++i) {
            const auto entry = file_.Read<IMAGE_RESOURCE_DIRECTORY_ENTRY>(
                directory + sizeof(IMAGE_RESOURCE_DIRECTORY) + i * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY));
            if (!entry) break;
            entries.push_back(*entry);
        }
        return entries;
    }
    // A numbered entry's directory, searched by halves as the platform's loader does: numbered entries are
    // stored by number after the named ones. Entries past the end of a file cut short count as absent.
    std::optional<size_t> SubdirectoryById(size_t directory, WORD id) const {
        const auto head = file_.Read<IMAGE_RESOURCE_DIRECTORY>(directory);
        if (!head) return std::nullopt;
        constexpr size_t EntrySize = sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY);
        const size_t numbered =
            directory + sizeof(IMAGE_RESOURCE_DIRECTORY) + size_t{head->NumberOfNamedEntries} * EntrySize;
        size_t low = 0, high = head->NumberOfIdEntries;
        while (low < high) {
            const size_t middle = low + (high - low) / 2;
            const auto entry = file_.Read<IMAGE_RESOURCE_DIRECTORY_ENTRY>(numbered + middle * EntrySize);
            if (entry && entry->Id == id) return entry->NameIsString ? std::nullopt : Subdirectory(*entry);
            if (entry && entry->Id < id)
                low = middle + 1;
            else
                high = middle;
        }
        return std::nullopt;
    }
    std::optional<size_t> Subdirectory(const IMAGE_RESOURCE_DIRECTORY_ENTRY& entry) const {
        if (!entry.DataIsDirectory) return std::nullopt;
        return *root_ + entry.OffsetToDirectory;
    }
    // The data of a resource whose directory is given: its first language's, as the platform takes it.
    std::pair<const std::uint8_t*, size_t> Data(size_t directory) const {
        for (int depth = 0; depth < 2; ++depth) {
            const auto head = file_.Read<IMAGE_RESOURCE_DIRECTORY>(directory);
            if (!head || head->NumberOfNamedEntries + head->NumberOfIdEntries == 0) return {};
            const auto first =
                file_.Read<IMAGE_RESOURCE_DIRECTORY_ENTRY>(directory + sizeof(IMAGE_RESOURCE_DIRECTORY));
            if (!first) return {};
            if (!first->DataIsDirectory) {
                const auto data = file_.Read<IMAGE_RESOURCE_DATA_ENTRY>(*root_ + first->OffsetToData);
                if (!data) return {};
                const auto at = OffsetOf(data->OffsetToData, data->Size);
                const std::uint8_t* bytes = at ? file_.Span(*at, data->Size) : nullptr;
                return bytes ? std::pair{bytes, size_t{data->Size}}
                             : std::pair<const std::uint8_t*, size_t>{};
            }
            directory = *root_ + first->OffsetToDirectory;
        }
        return {};
    }

private:
    // The file offset of the bytes at a loaded address, when a section holds them all.
    std::optional<size_t> OffsetOf(DWORD address, DWORD size) const {
        for (const auto& section : sections_) {
            const std::uint64_t start = section.VirtualAddress, end = start + section.SizeOfRawData;
            if (address >= start && std::uint64_t{address} + size <= end)
                return size_t{section.PointerToRawData} + (address - section.VirtualAddress);
        }
        return std::nullopt;
    }

    const MappedFile& file_;
    bool isProgram_ = false;
    std::vector<IMAGE_SECTION_HEADER> sections_;
    std::optional<size_t> root_;
};

// The files an IconFileBatch keeps mapped, by path as given in capitals; null for one that did not open.
struct Batch {
    int depth = 0;
    std::vector<std::pair<std::wstring, std::shared_ptr<const MappedFile>>> files;
};
Batch batch;
std::atomic<std::uint64_t> opens{0};

std::wstring Folded(const std::wstring& path) {
    std::wstring upper = path;
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

// The batch's entry for the file: absent when the file was not opened in it, null when it did not open.
std::optional<std::shared_ptr<const MappedFile>> InBatch(const std::wstring& folded) {
    for (const auto& [path, mapped] : batch.files)
        if (path == folded) return mapped;
    return std::nullopt;
}

// The file mapped, found along the search path as the platform's extraction finds it.
std::shared_ptr<const MappedFile> Open(const std::wstring& file) {
    std::wstring folded;
    if (batch.depth) {
        folded = Folded(file);
        if (auto mapped = InBatch(folded)) return *mapped;
    }
    std::shared_ptr<const MappedFile> mapped;
    wchar_t found[MAX_PATH];
    const DWORD n = file.empty() ? 0 : SearchPathW(nullptr, file.c_str(), nullptr, MAX_PATH, found, nullptr);
    if (n > 0 && n < MAX_PATH) {
        ++opens;
        auto opened = std::make_shared<const MappedFile>(found);
        if (opened->IsOpen()) mapped = std::move(opened);
    }
    if (batch.depth) batch.files.emplace_back(std::move(folded), mapped);
    return mapped;
}

} // namespace

IconFileBatch::IconFileBatch() {
    ++batch.depth;
}

IconFileBatch::~IconFileBatch() {
    if (--batch.depth == 0) batch.files.clear();
}

std::uint64_t IconFileOpens() {
    return opens;
}

struct IconLibrary::Parts {
    explicit Parts(std::shared_ptr<const MappedFile> mapped) : file(std::move(mapped)), resources(*file) {
        if (const auto found =
                resources.TypeDirectory(static_cast<WORD>(reinterpret_cast<UINT_PTR>(RT_GROUP_ICON))))
            groups = resources.Entries(*found);
        images = resources.TypeDirectory(static_cast<WORD>(reinterpret_cast<UINT_PTR>(RT_ICON)));
    }
    std::shared_ptr<const MappedFile> file;
    Resources resources;
    std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> groups;
    std::optional<size_t> images;

    std::span<const std::uint8_t> Of(std::optional<size_t> directory) const {
        if (!directory) return {};
        const auto [bytes, size] = resources.Data(*directory);
        return bytes ? std::span(bytes, size) : std::span<const std::uint8_t>{};
    }
};

IconLibrary::IconLibrary(const std::wstring& file) {
    if (auto mapped = Open(file)) parts_ = std::make_unique<Parts>(std::move(mapped));
}

IconLibrary::~IconLibrary() = default;

bool IconLibrary::Opened() const {
    return parts_ != nullptr;
}

bool IconLibrary::IsProgram() const {
    return parts_ && parts_->resources.IsProgram();
}

int IconLibrary::GroupCount() const {
    return parts_ ? static_cast<int>(parts_->groups.size()) : 0;
}

std::span<const std::uint8_t> IconLibrary::Group(int index) const {
    if (!parts_) return {};
    const Resources& resources = parts_->resources;
    if (index >= 0) {
        if (static_cast<size_t>(index) >= parts_->groups.size()) return {};
        return parts_->Of(resources.Subdirectory(parts_->groups[static_cast<size_t>(index)]));
    }
    if (index < -0xFFFF) return {};
    for (const auto& entry : parts_->groups)
        if (!entry.NameIsString && entry.Id == -index) return parts_->Of(resources.Subdirectory(entry));
    return {};
}

std::span<const std::uint8_t> IconLibrary::Image(int id) const {
    if (!parts_ || !parts_->images || id <= 0 || id > 0xFFFF) return {};
    return parts_->Of(parts_->resources.SubdirectoryById(*parts_->images, static_cast<WORD>(id)));
}

HICON ExtractFileIcon(const std::wstring& file, int index) {
    const int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
    const IconLibrary library(file);
    if (!library.Opened()) return nullptr;
    if (library.IsProgram()) {
        const auto group = library.Group(index);
        // A group directory: six bytes of head, then fourteen per image.
        constexpr size_t Head = 6, Entry = 14;
        if (group.size() < Head || group.size() < Head + Entry * (group[4] | group[5] << 8)) return nullptr;
        const auto image = library.Image(LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data()), TRUE,
                                                                     width, height, LR_DEFAULTCOLOR));
        if (image.empty()) return nullptr;
        return CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()),
                                        TRUE, 0x00030000, width, height, LR_DEFAULTCOLOR);
    }
    // Icon files and anything else the platform reads itself.
    HICON icon = nullptr;
    UINT id = 0; // Wine hands out the wanted icon only when the resource ids are asked for as well
    const UINT found =
        PrivateExtractIconsW(file.c_str(), index, width, height, &icon, &id, 1, LR_DEFAULTCOLOR);
    if (found == 0 || found == UINT(-1)) {
        if (icon) DestroyIcon(icon);
        return nullptr;
    }
    return icon;
}

int FileIconCount(const std::wstring& file) {
    const IconLibrary library(file);
    if (!library.Opened()) return 0;
    if (library.IsProgram()) return library.GroupCount();
    const UINT count = PrivateExtractIconsW(file.c_str(), 0, 0, 0, nullptr, nullptr, 0, 0);
    return count == UINT(-1) ? 0 : static_cast<int>(count);
}

bool IsProgramFile(const std::wstring& file) {
    if (batch.depth)
        if (const auto mapped = InBatch(Folded(file)); mapped && *mapped) {
            const auto start = (*mapped)->Read<WORD>(0);
            return start && *start == IMAGE_DOS_SIGNATURE;
        }
    UniqueFile handle(CreateFileW(file.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!handle) return false;
    char start[2]{};
    DWORD read = 0;
    return ReadFile(handle.get(), start, sizeof start, &read, nullptr) && read == sizeof start &&
           start[0] == 'M' && start[1] == 'Z';
}
