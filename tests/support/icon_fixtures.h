#pragma once
// Icon, cursor and animated-cursor files written by the tests themselves: one solid-coloured, fully opaque
// picture each, so a test can tell by one pixel which file a list drew. Header-only: the benchmarks use it
// too.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

using Bytes = std::vector<unsigned char>;

// Grown with resize and indexing: gcc 12 misreads push_back on a fresh vector as an overflow.
inline void Put8(Bytes& b, unsigned v) {
    b.resize(b.size() + 1);
    b.back() = static_cast<unsigned char>(v & 0xFF);
}
inline void Put16(Bytes& b, unsigned v) {
    Put8(b, v);
    Put8(b, v >> 8);
}
inline void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void PutTag(Bytes& b, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) Put8(b, static_cast<unsigned char>(tag[i]));
}

struct Image {
    COLORREF colour;
    int size;
};

// A 24-bit .ico (cursor false) or .cur (cursor true) file holding the images in this order.
inline Bytes IconFileBytes(const std::vector<Image>& images, bool cursor = false) {
    Bytes b;
    Put16(b, 0);
    Put16(b, cursor ? 2 : 1);
    Put16(b, static_cast<unsigned>(images.size()));
    auto imageBytes = [](int size) {
        return static_cast<std::uint32_t>(40 + (size * 3 + 3) / 4 * 4 * size + (size + 31) / 32 * 4 * size);
    };
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const Image& image : images) {
        Put8(b, image.size);
        Put8(b, image.size);
        Put8(b, 0); // colour count
        Put8(b, 0);
        Put16(b, cursor ? 0 : 1);  // planes, or the hot spot's x
        Put16(b, cursor ? 0 : 24); // bits per pixel, or the hot spot's y
        Put32(b, imageBytes(image.size));
        Put32(b, offset);
        offset += imageBytes(image.size);
    }
    for (const Image& image : images) {
        const int size = image.size;
        Put32(b, 40); // BITMAPINFOHEADER
        Put32(b, size);
        Put32(b, size * 2); // picture and mask
        Put16(b, 1);
        Put16(b, 24);
        for (int i = 0; i < 6; ++i) Put32(b, 0);
        const int rowBytes = (size * 3 + 3) / 4 * 4;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                Put8(b, GetBValue(image.colour));
                Put8(b, GetGValue(image.colour));
                Put8(b, GetRValue(image.colour));
            }
            for (int pad = size * 3; pad < rowBytes; ++pad) Put8(b, 0);
        }
        for (int i = 0; i < (size + 31) / 32 * 4 * size; ++i) Put8(b, 0); // mask: all opaque
    }
    return b;
}

// One size × size picture in one colour.
inline Bytes IconFileBytes(COLORREF colour, int size = 32, bool cursor = false) {
    return IconFileBytes({{colour, size}}, cursor);
}

// A one-frame animated cursor whose frame is a .cur picture in `colour`.
inline Bytes AniFileBytes(COLORREF colour) {
    const Bytes frame = IconFileBytes(colour, 32, true);
    Bytes body;
    PutTag(body, "ACON");
    PutTag(body, "anih");
    Put32(body, 36);
    const std::uint32_t header[] = {36, 1, 1, 0, 0, 0, 0, 10, 1}; // size, frames, steps, ..., rate, AF_ICON
    for (std::uint32_t v : header) Put32(body, v);
    PutTag(body, "LIST");
    Put32(body, static_cast<std::uint32_t>(4 + 8 + frame.size() + frame.size() % 2));
    PutTag(body, "fram");
    PutTag(body, "icon");
    Put32(body, static_cast<std::uint32_t>(frame.size()));
    body.insert(body.end(), frame.begin(), frame.end());
    if (frame.size() % 2) Put8(body, 0);
    Bytes b;
    PutTag(b, "RIFF");
    Put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

inline bool WriteBytes(const std::wstring& path, const Bytes& bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// A fresh folder under the temporary folder, removed with everything written through it.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"tessaly-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
            if (!DeleteFileW(it->c_str())) RemoveDirectoryW(it->c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    // Writes (or rewrites) a file below the folder; "a\b.ico" makes the sub-folder a first.
    std::wstring Write(const std::wstring& name, const Bytes& bytes) {
        const std::wstring full = path_ + L"\\" + name;
        for (size_t slash = name.find(L'\\'); slash != std::wstring::npos;
             slash = name.find(L'\\', slash + 1)) {
            const std::wstring folder = path_ + L"\\" + name.substr(0, slash);
            if (CreateDirectoryW(folder.c_str(), nullptr)) files_.push_back(folder);
        }
        if (WriteBytes(full, bytes)) Remember(full);
        return full;
    }

private:
    void Remember(const std::wstring& file) {
        for (const auto& f : files_)
            if (f == file) return;
        files_.push_back(file);
    }

    std::wstring path_;
    std::vector<std::wstring> files_;
};

} // namespace fixtures
