// Checks small text pixel maps and writes them into a C++ source file, so that the program (and every
// test program) builds its pictures from the same maps without resources. Built and run on the build host.
//   pixmap_embed out.cpp FunctionName 16 first.txt second.txt ...
// The maps use icon_maker's characters: '.' transparent, "#rgybmcsdRGYBMCo" the 16-colour palette;
// lines starting with ';' are comments. The function returns the maps in argument order, each map's rows
// joined into one text.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {
const std::string Characters = ".#rgybmcsdRGYBMCo";
}

int main(int argc, char** argv) {
    if (argc < 5) {
        std::cerr << "usage: pixmap_embed out.cpp FunctionName size map.txt...\n";
        return 2;
    }
    const std::string function = argv[2];
    const int size = std::atoi(argv[3]);
    if (size <= 0) {
        std::cerr << "pixmap_embed: bad size '" << argv[3] << "'\n";
        return 2;
    }
    std::ostringstream maps;
    for (int i = 4; i < argc; ++i) {
        std::ifstream in(argv[i]);
        if (!in) {
            std::cerr << argv[i] << ": cannot be read\n";
            return 1;
        }
        std::vector<std::string> rows;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == ';') continue;
            rows.push_back(line);
        }
        if (static_cast<int>(rows.size()) != size) {
            std::cerr << argv[i] << ": expected " << size << " rows, found " << rows.size() << "\n";
            return 1;
        }
        const std::string path = argv[i];
        maps << "        // " << path.substr(path.find_last_of("/\\") + 1) << "\n";
        for (size_t y = 0; y < rows.size(); ++y) {
            if (static_cast<int>(rows[y].size()) != size) {
                std::cerr << argv[i] << ": row " << y + 1 << " has " << rows[y].size() << " characters\n";
                return 1;
            }
            for (char c : rows[y]) {
                if (Characters.find(c) == std::string::npos) {
                    std::cerr << argv[i] << ": unknown colour '" << c << "' in row " << y + 1 << "\n";
                    return 1;
                }
            }
            maps << "        \"" << rows[y] << "\"" << (y + 1 == rows.size() ? ",\n" : "\n");
        }
    }

    std::ofstream out(argv[1]);
    out << "// Written by pixmap_embed from the pixel maps named below; edit those, not this.\n"
        << "#include <span>\n#include <string_view>\n\n"
        << "std::span<const std::string_view> " << function << "() {\n"
        << "    static constexpr std::string_view maps[] = {\n"
        << maps.str() << "    };\n"
        << "    return maps;\n}\n";
    return out ? 0 : 1;
}
