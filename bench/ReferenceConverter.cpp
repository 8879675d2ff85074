// A plain one-pass converter, the yardstick for the automatic run: reads a UTF-16LE number file
// (byte-order mark optional), writes each number's binary digits and CR LF.
//
// Usage: bench_reference INPUT OUTPUT
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT OUTPUT\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    std::size_t k = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 0;
    std::uint32_t value = 0;
    bool inNumber = false;
    const auto flush = [&] {
        char digits[32];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + (value & 1U));
            value >>= 1;
        } while (value != 0);
        while (n > 0) {
            out.push_back(digits[--n]);
        }
        out += "\r\n";
        inNumber = false;
    };
    for (; k + 1 < bytes.size(); k += 2) {
        const char c = bytes[k];
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
            inNumber = true;
        } else if (c == '\n' && inNumber) {
            flush();
        }
    }
    if (inNumber) {
        flush();
    }
    std::ofstream(argv[2], std::ios::binary)
        .write(out.data(), static_cast<std::streamsize>(out.size()));
    return 0;
}
