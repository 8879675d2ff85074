#include "storage/FileSource.h"

namespace fs = std::filesystem;

FileSource::FileSource(const fs::path& path, Use use) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return;
    }
    m_file = Open(path, use);
    if (m_file == nullptr) {
        return;
    }
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    const std::optional<Identity> identity = OpenIdentity();
    if (!identity) {
        std::fclose(m_file);
        m_file = nullptr;
        return;
    }
    m_opened = *identity;
}

FileSource::~FileSource() {
    Close();
}

void FileSource::Close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
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

bool FileSource::Unchanged() const {
    return m_file != nullptr && OpenIdentity() == m_opened;
}
