#pragma once
// Every icon of a file at 32 × 32, read in one pass and kept as two pictures (colours and mask), so
// that showing thousands of icons costs no window-system handle per icon and drawing never reads the file.
#include "platform/file_icon.h"
#include "platform/unique_handle.h"

#include <cstdint>
#include <string>

class FileIcons {
public:
    static constexpr int Size = 32;
    static constexpr int CellsPerRow = 32;

    FileIcons() = default;
    FileIcons(const FileIcons&) = delete;
    FileIcons& operator=(const FileIcons&) = delete;
    ~FileIcons() { Clear(); }

    // Reads every icon; returns the count, 0 when the file holds none or cannot be read. A library's icons
    // are decoded from its resources with the file mapped once; anything else goes through the platform's
    // extraction in one call. An icon that cannot be read leaves its cell empty.
    int Load(const std::wstring& file);
    void Clear();

    int Count() const { return count_; }
    // Draws icon `index` with its top-left corner at (x, y); nothing for an index out of range.
    void Draw(HDC dc, int index, int x, int y) const;

private:
    bool MakeStrips(int count);
    static POINT Origin(int cell) { return {cell % CellsPerRow * Size, cell / CellsPerRow * Size}; }
    void DecodeLibrary(const IconLibrary& library);
    void ExtractWithPlatform(const std::wstring& file);
    bool DecodeImage(int cell, const std::uint8_t* bits, size_t size);
    void PaintIcon(int cell, HICON icon);
    void BlackOutClearPixels(int cell);

    int count_ = 0;
    UniqueMemDc colourDc_, maskDc_;
    UniqueHBitmap colour_, mask_;
    HGDIOBJ colourOld_ = nullptr, maskOld_ = nullptr;
    std::uint32_t* colourBits_ = nullptr;
    std::uint8_t* maskBits_ = nullptr;
    int stripWidth_ = 0;
    int maskStride_ = 0;
};
