// The yardsticks for the automatic run, on number files of the kind the benchmark makes (UTF-16LE
// with a mark, or ASCII): a careful single-threaded converter, and the I/O floor, which reads the
// input and writes as many bytes as the result holds, with nothing converted.
//
// Usage: bench_reference careful INPUT OUTPUT
//        bench_reference floor INPUT OUTPUT RESULT_BYTES
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 20;

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written <= 0) {
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Reads the input in blocks, one character at a time as UTF-16LE or one byte as ASCII, and writes
// each block's result as it is made.
int Careful(int in, int out) {
    std::vector<char> block(kBlock);
    std::string result;
    result.reserve(kBlock * 3 / 2 + 64);
    std::uint32_t value = 0;
    bool inNumber = false;
    bool first = true;
    std::size_t step = 1;
    int carried = -1;
    const auto endLine = [&] {
        char digits[40];
        const auto end = std::to_chars(digits, digits + 32, value, 2).ptr;
        result.append(digits, end);
        result += "\r\n";
        value = 0;
        inNumber = false;
    };
    const auto take = [&](unsigned char c) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
            inNumber = true;
        } else if (c == '\n' && inNumber) {
            endLine();
        }
    };
    for (;;) {
        const ssize_t got = read(in, block.data(), block.size());
        if (got <= 0) {
            break;
        }
        std::size_t k = 0;
        if (first) {
            const bool utf16 = got >= 2 && std::memcmp(block.data(), "\xFF\xFE", 2) == 0;
            step = utf16 ? 2 : 1;
            k = utf16 ? 2 : 0;
            first = false;
        }
        if (carried >= 0) {
            take(static_cast<unsigned char>(carried));
            carried = -1;
            k = 1;
        }
        for (; k + step - 1 < static_cast<std::size_t>(got); k += step) {
            take(static_cast<unsigned char>(block[k]));
        }
        if (k < static_cast<std::size_t>(got) && step == 2) {
            carried = static_cast<unsigned char>(block[k]);
        }
        if (!WriteAll(out, result.data(), result.size())) {
            return 1;
        }
        result.clear();
    }
    if (inNumber) {
        endLine();
    }
    return WriteAll(out, result.data(), result.size()) && fsync(out) == 0 ? 0 : 1;
}

int Floor(int in, int out, std::size_t resultBytes) {
    std::vector<char> block(kBlock, '0');
    while (read(in, block.data(), block.size()) > 0) {
    }
    std::memset(block.data(), '0', block.size());
    for (std::size_t left = resultBytes; left > 0;) {
        const std::size_t size = left < kBlock ? left : kBlock;
        if (!WriteAll(out, block.data(), size)) {
            return 1;
        }
        left -= size;
    }
    return fsync(out) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "careful" && argc == 4) || (mode == "floor" && argc == 5))) {
        std::fprintf(stderr, "usage: %s careful INPUT OUTPUT | floor INPUT OUTPUT BYTES\n",
                     argv[0]);
        return 2;
    }
    const int in = open(argv[2], O_RDONLY);
    const int out = open(argv[3], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        std::perror("open");
        return 1;
    }
    const int status =
        mode == "careful" ? Careful(in, out) : Floor(in, out, std::strtoull(argv[4], nullptr, 10));
    close(in);
    return close(out) == 0 ? status : 1;
}
