// A plain one-pass converter, the yardstick for the automatic run: reads a number file whole
// (UTF-16LE, or UTF-8 without a zero byte; a byte-order mark optional), writes each number's
// binary digits and CR LF.
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
    const bool utf16Mark = bytes.starts_with("\xFF\xFE");
    const bool utf16 = utf16Mark || bytes.find('\0') != std::string::npos;
    const std::size_t step = utf16 ? 2 : 1;
    std::size_t k = utf16Mark ? 2 : bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
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
    for (; k + step - 1 < bytes.size(); k += step) {
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
