#pragma once
// Icons of icon containers (.ico, .icl, .exe and .dll files), found and read as the shell's icon extraction
// does but through user32, so that starting the program does not have to load the shell's library.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

// While one lives, the files icons are read from stay open, so that reading many icons of one library
// opens it once. A program's or library's icons are read from its resources directly; other files go
// through the platform's extraction. For one thread, the windows' own; nested ones share the outermost one's
// files.
// An open file cannot be deleted or replaced: only for a run of reads that ends soon.
class IconFileBatch {
public:
    IconFileBatch();
    ~IconFileBatch();
    IconFileBatch(const IconFileBatch&) = delete;
    IconFileBatch& operator=(const IconFileBatch&) = delete;
};

// How many times a file was opened to read its icons, in the whole process.
std::uint64_t IconFileOpens();

// The icon resources of a program or library, read from its file as stored, every offset checked against
// it; the file is opened through the batch when one lives.
class IconLibrary {
public:
    explicit IconLibrary(const std::wstring& file);
    ~IconLibrary();
    IconLibrary(const IconLibrary&) = delete;
    IconLibrary& operator=(const IconLibrary&) = delete;

    // Whether the file was found and opened.
    bool Opened() const;
    // Whether it is a program or library, whose icons are its resources; the platform reads other files.
    bool IsProgram() const;
    // The icon groups, in the order icon references count them: named ones first, then numbered ones.
    int GroupCount() const;
    // A group's directory (six bytes of head, then fourteen per image): by position for an index of 0 or
    // more, by number for a negative one; empty when there is no such group.
    std::span<const std::uint8_t> Group(int index) const;
    // The stored bits of the image numbered id; empty when there is none.
    std::span<const std::uint8_t> Image(int id) const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// The icon at index in the system's large icon size, owned by the caller; null when the file has no such
// icon or is no icon container at all.
HICON ExtractFileIcon(const std::wstring& file, int index);

// How many icons the file holds: 0 when it holds none or is no icon container.
int FileIconCount(const std::wstring& file);

// Whether the file is a program or library (it starts with "MZ"), whose only pictures are its icons.
bool IsProgramFile(const std::wstring& file);
