// Writes the help topics' text files into a C++ source file, line by line, so that the program and every
// test program carry the same help without resources. Built and run on the build host.
//   help_embed out.cpp FunctionName first.txt second.txt ...
// Lines are kept as written (UTF-8), in argument order; each file ends as if followed by a blank line.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {
// A C++ string literal for one line; bytes outside printable ASCII become octal escapes, which never run
// into the character after them.
std::string Literal(const std::string& line) {
    std::ostringstream out;
    out << '"';
    for (unsigned char c : line) {
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (c < 0x20 || c >= 0x7F || c == '?') { // '?' too: no trigraphs
            const char digits[] = {'\\', char('0' + (c >> 6)), char('0' + ((c >> 3) & 7)),
                                   char('0' + (c & 7)), 0};
            out << digits;
        } else {
            out << c;
        }
    }
    out << '"';
    return out.str();
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: help_embed out.cpp FunctionName topics.txt...\n";
        return 2;
    }
    std::ostringstream lines;
    for (int i = 3; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << argv[i] << ": cannot be read\n";
            return 1;
        }
        const std::string path = argv[i];
        lines << "        // " << path.substr(path.find_last_of("/\\") + 1) << "\n";
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines << "        " << Literal(line) << ",\n";
        }
        lines << "        \"\",\n";
    }
    std::ofstream out(argv[1]);
    out << "// Written by help_embed from the help topics named below; edit those, not this.\n"
        << "#include <span>\n#include <string_view>\n\n"
        << "std::span<const std::string_view> " << argv[2] << "() {\n"
        << "    static constexpr std::string_view lines[] = {\n"
        << lines.str() << "    };\n"
        << "    return lines;\n}\n";
    return out ? 0 : 1;
}
