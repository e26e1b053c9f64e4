#include "controls/icon_pictures.h"

#include "platform/file_icon.h"

#include <algorithm>
#include <optional>

std::wstring FileExtension(std::wstring_view path) {
    size_t dot = path.find(L'.');
    return dot == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(dot + 1));
}

bool IsAnimatedCursorPath(std::wstring_view path) {
    return FileExtension(path) == L"ani";
}

namespace {

std::optional<IconPictureCache::Stamp> ReadStamp(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        // A bare file name is found the way icon extraction finds it: along the search path. A full path
        // names its one place, which was just looked at.
        const bool fullPath = path.starts_with(L"\\\\") ||
                              (path.size() > 2 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'));
        if (fullPath) return std::nullopt;
        wchar_t found[MAX_PATH];
        DWORD n = SearchPathW(nullptr, path.c_str(), nullptr, MAX_PATH, found, nullptr);
        if (n == 0 || n >= MAX_PATH || !GetFileAttributesExW(found, GetFileExInfoStandard, &data))
            return std::nullopt;
    }
    IconPictureCache::Stamp stamp;
    stamp.lastWrite = data.ftLastWriteTime;
    stamp.bytes = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return stamp;
}

} // namespace

IconPictureCache::Owned IconPictureCache::Load(const std::wstring& path, int index, bool asCursor) {
    ++loads_;
    Owned picture;
    if (!asCursor) {
        // -1 would ask for the icon count, not an icon.
        if (path.empty() || index == -1) return picture;
        picture.icon.reset(ExtractFileIcon(path, index));
        // A program file never loads as a cursor: what extraction did not find is not there.
        if (picture.icon || IsProgramFile(path)) return picture;
        // Wine counts no icons in .cur and .ani files, yet a custom pointer should show its own picture.
        if (FileIconCount(path) != 0) return picture;
    }
    picture.cursor.reset(
        static_cast<HCURSOR>(LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE)));
    return picture;
}

HICON IconPictureCache::Picture(const std::wstring& path, int index, bool asCursor) {
    if (asCursor) index = 0;
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.index == index && e.asCursor == asCursor && e.path == path;
    });
    // A file that is not there, not even along the search path, has nothing to read.
    const std::optional<Stamp> stamp = ReadStamp(path);
    if (!stamp) {
        if (it != entries_.end()) entries_.erase(it);
        return nullptr;
    }
    if (it != entries_.end() && it->stamp == *stamp) {
        it->lastUse = ++clock_;
        return it->picture.get();
    }
    if (it == entries_.end()) {
        if (entries_.size() >= limit_) {
            auto oldest =
                std::min_element(entries_.begin(), entries_.end(),
                                 [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
            entries_.erase(oldest);
        }
        entries_.push_back({path, index, asCursor, {}, {}, 0});
        it = entries_.end() - 1;
    }
    it->stamp = *stamp;
    it->picture = Load(path, index, asCursor);
    it->lastUse = ++clock_;
    return it->picture.get();
}

void IconPictureCache::Clear() {
    entries_.clear();
}
