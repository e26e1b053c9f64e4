#include "support/icon_files.h"

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void Put16(std::string& b, std::uint16_t v) {
    b.push_back(static_cast<char>(v & 0xff));
    b.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

std::string Chunk(const char* id, const std::string& data) {
    std::string c(id, 4);
    Put32(c, static_cast<std::uint32_t>(data.size()));
    c += data;
    if (data.size() % 2) c.push_back('\0');
    return c;
}

// A 24-bit BITMAPINFOHEADER for an icon image, whose height counts both masks.
std::string BitmapHeader(int size) {
    std::string header;
    Put32(header, 40);
    Put32(header, static_cast<std::uint32_t>(size));
    Put32(header, static_cast<std::uint32_t>(size * 2));
    Put16(header, 1);
    Put16(header, 24);
    for (int i = 0; i < 6; ++i) Put32(header, 0);
    return header;
}

// The icon directory of a .ico or .cur file: one entry per image, the images following it in order.
std::string IconDirectory(IconFileKind kind, const std::vector<std::string>& images,
                          const std::vector<int>& sizes) {
    const bool cursor = kind == IconFileKind::Cursor;
    std::string file;
    Put16(file, 0);
    Put16(file, cursor ? 2 : 1);
    Put16(file, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<char>(sizes[i]));
        file.push_back(static_cast<char>(sizes[i]));
        file.append(2, '\0');         // no palette
        Put16(file, cursor ? 0 : 1);  // hot spot x, or planes
        Put16(file, cursor ? 0 : 24); // hot spot y, or bits per pixel
        Put32(file, static_cast<std::uint32_t>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const std::string& image : images) file += image;
    return file;
}

std::string AnimatedCursorOf(const std::string& frame) {
    std::string header;
    Put32(header, 36); // ANIHEADER
    Put32(header, 1);  // frames
    Put32(header, 1);  // steps
    for (int i = 0; i < 4; ++i) Put32(header, 0);
    Put32(header, 10); // jiffies per frame
    Put32(header, 1);  // frames are icon files
    std::string frames = "fram" + Chunk("icon", frame);
    std::string body = "ACON" + Chunk("anih", header) + Chunk("LIST", frames);
    return Chunk("RIFF", body);
}

// The folder that holds the fixture DLLs built beside the tests, with a trailing backslash.
std::wstring FixtureFolder() {
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe, n);
    return path.substr(0, path.rfind(L'\\') + 1) + L"fixtures\\";
}

} // namespace

TempMachine::TempMachine() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root = std::wstring(temp) + L"tessaly-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
    windows = root + L"\\Windows";
    system = windows + L"\\System";
    app = root + L"\\App";
    fs::create_directories(system);
    fs::create_directories(app);
}

TempMachine::~TempMachine() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::wstring TempMachine::Copy(const std::wstring& fixture, const std::wstring& folder) const {
    std::wstring target = folder + L"\\" + fixture;
    fs::copy_file(FixtureFolder() + fixture, target, fs::copy_options::overwrite_existing);
    return target;
}

std::wstring TempMachine::Write(const std::wstring& folder, const std::wstring& name,
                                const std::string& bytes) const {
    std::wstring target = folder + L"\\" + name;
    std::ofstream(fs::path(target), std::ios::binary) << bytes;
    return target;
}

std::wstring TempMachine::MakeFolder(const std::wstring& name) const {
    std::wstring folder = root + L"\\" + name;
    fs::create_directories(folder);
    return folder;
}

std::string ColourIconBytes(const std::vector<ColourImage>& images, IconFileKind kind) {
    std::vector<std::string> bitmaps;
    std::vector<int> sizes;
    for (const ColourImage& picture : images) {
        const int size = picture.size, rowBytes = (size * 3 + 3) / 4 * 4;
        std::string image = BitmapHeader(size);
        std::string row;
        for (int x = 0; x < size; ++x) {
            row.push_back(static_cast<char>((picture.colour >> 16) & 0xff)); // blue, green, red
            row.push_back(static_cast<char>((picture.colour >> 8) & 0xff));
            row.push_back(static_cast<char>(picture.colour & 0xff));
        }
        row.resize(rowBytes, '\0');
        for (int y = 0; y < size; ++y) image += row;
        image.append((size + 31) / 32 * 4 * size, '\0'); // AND mask: all opaque
        bitmaps.push_back(image);
        sizes.push_back(size);
    }
    return IconDirectory(kind, bitmaps, sizes);
}

std::string ColourAnimatedCursorBytes(std::uint32_t colour) {
    return AnimatedCursorOf(ColourIconBytes({{colour, 32}}, IconFileKind::Cursor));
}
