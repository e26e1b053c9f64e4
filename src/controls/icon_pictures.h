#pragma once
// The pictures the icon lists draw, kept between redraws: a redraw reads the disk only for files that
// changed.
#include "platform/unique_handle.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The text after the first "." of the whole path (folders included); empty when there is none.
std::wstring FileExtension(std::wstring_view path);
// Redraws take an animated cursor's first frame instead of extracting an icon. Only an extension of exactly
// "ani" counts, so "x.ANI" and "my.folder\x.ani" are extracted like any other file.
bool IsAnimatedCursorPath(std::wstring_view path);

class IconPictureCache {
public:
    static constexpr size_t DefaultLimit = 32;
    explicit IconPictureCache(size_t limit = DefaultLimit) : limit_(limit) {}

    // The picture for (path, index), or null when the file gives none or cannot be found. asCursor loads the
    // file as a cursor and ignores the index; otherwise the icon at index is extracted, and a file that is no
    // program, reports no icons but loads as a cursor (.cur, .ani under Wine) gives that cursor. The handle
    // stays valid while the picture is cached.
    HICON Picture(const std::wstring& path, int index, bool asCursor);

    void Clear();
    size_t size() const { return entries_.size(); }
    // How many times a picture was read from its file; a redraw of unchanged files adds nothing.
    std::uint64_t loads() const { return loads_; }

    struct Stamp {
        FILETIME lastWrite{};
        std::uint64_t bytes = 0;
        bool operator==(const Stamp& o) const {
            return lastWrite.dwLowDateTime == o.lastWrite.dwLowDateTime &&
                   lastWrite.dwHighDateTime == o.lastWrite.dwHighDateTime && bytes == o.bytes;
        }
    };

private:
    struct Owned {
        UniqueHIcon icon;
        UniqueHCursor cursor;
        HICON get() const { return icon ? icon.get() : cursor.get(); }
    };
    struct Entry {
        std::wstring path;
        int index = 0;
        bool asCursor = false;
        Stamp stamp;
        Owned picture;
        std::uint64_t lastUse = 0;
    };

    Owned Load(const std::wstring& path, int index, bool asCursor);

    std::vector<Entry> entries_; // a list shows at most 19 rows: a linear search is the fastest lookup
    size_t limit_;
    std::uint64_t clock_ = 0;
    std::uint64_t loads_ = 0;
};
