// Turns a text pixel map (32 lines of 32 characters) into a .ico file. Built and run on the build host.
//   .  transparent        #  black        o  white
//   r g y b m c s d R G Y B M C  the other colours of the 16-colour palette
// A map that uses only '.', '#' and 'o' is written as a monochrome icon, any other as 16 colours.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int Size = 32;
const std::string Palette = "#rgybmcsdRGYBMCo"; // VGA order: black ... white
const uint8_t Rgb[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                            {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                            {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(v & 0xff);
    b.push_back(v >> 8);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xff);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: icon_maker map.txt out.ico\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue; // comments
        rows.push_back(line);
    }
    if (rows.size() != Size) {
        std::cerr << argv[1] << ": expected " << Size << " rows, found " << rows.size() << "\n";
        return 1;
    }
    bool mono = true;
    for (size_t y = 0; y < rows.size(); ++y) {
        if (rows[y].size() != Size) {
            std::cerr << argv[1] << ": row " << y + 1 << " has " << rows[y].size() << " characters\n";
            return 1;
        }
        for (char c : rows[y]) {
            if (c != '.' && Palette.find(c) == std::string::npos) {
                std::cerr << argv[1] << ": unknown colour '" << c << "' in row " << y + 1 << "\n";
                return 1;
            }
            if (c != '.' && c != '#' && c != 'o') mono = false;
        }
    }

    const int bits = mono ? 1 : 4;
    const int colours = mono ? 2 : 16;
    const int xorStride = ((Size * bits + 31) / 32) * 4;
    const int andStride = ((Size + 31) / 32) * 4;
    std::vector<uint8_t> image;
    Put32(image, 40);
    Put32(image, Size);
    Put32(image, Size * 2); // XOR and AND halves
    Put16(image, 1);
    Put16(image, bits);
    Put32(image, 0);
    Put32(image, (xorStride + andStride) * Size);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    for (int i = 0; i < colours; ++i) {
        int p = mono ? (i == 0 ? 0 : 15) : i;
        image.push_back(Rgb[p][2]);
        image.push_back(Rgb[p][1]);
        image.push_back(Rgb[p][0]);
        image.push_back(0);
    }
    std::vector<uint8_t> xorBits(xorStride * Size), andBits(andStride * Size);
    for (int y = 0; y < Size; ++y) {
        const std::string& row = rows[Size - 1 - y]; // bottom-up
        for (int x = 0; x < Size; ++x) {
            char c = row[x];
            if (c == '.') {
                andBits[y * andStride + x / 8] |= 0x80 >> (x % 8);
                continue;
            }
            int p = static_cast<int>(Palette.find(c));
            if (mono) {
                if (p == 15) xorBits[y * xorStride + x / 8] |= 0x80 >> (x % 8);
            } else {
                xorBits[y * xorStride + x / 2] |= (x % 2 == 0) ? p << 4 : p;
            }
        }
    }
    image.insert(image.end(), xorBits.begin(), xorBits.end());
    image.insert(image.end(), andBits.begin(), andBits.end());

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1); // icon
    Put16(file, 1); // one image
    file.push_back(Size);
    file.push_back(Size);
    file.push_back(mono ? 2 : 16);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, bits);
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 6 + 16);
    file.insert(file.end(), image.begin(), image.end());

    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return out ? 0 : 1;
}
