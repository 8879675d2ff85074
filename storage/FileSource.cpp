#include "storage/FileSource.h"

namespace fs = std::filesystem;

FileSource::FileSource(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return;
    }
    m_size = fs::file_size(path, error);
    if (error) {
        return;
    }
#ifdef _WIN32
    m_file = _wfopen(path.c_str(), L"rb");
#else
    m_file = std::fopen(path.c_str(), "rb");
#endif
    if (m_file != nullptr) {
        std::setvbuf(m_file, nullptr, _IONBF, 0);
    }
}

FileSource::~FileSource() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

std::optional<std::size_t> FileSource::Read(char* buffer, std::size_t room) {
    const std::size_t got = std::fread(buffer, 1, room, m_file);
    if (got == 0 && std::ferror(m_file) != 0) {
        return std::nullopt;
    }
    return got;
}

bool FileSource::Rewind() {
    std::clearerr(m_file);
    return std::fseek(m_file, 0, SEEK_SET) == 0;
}
