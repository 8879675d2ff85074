#include "storage/FileSource.h"

namespace fs = std::filesystem;

FileSource::FileSource(const fs::path& path, Use use) {
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

// Its bytes, that is: a name of it removed or added changes its entry, not what was read.
bool FileSource::Unchanged() const {
    const std::optional<Identity> now = m_file != nullptr ? OpenIdentity() : std::nullopt;
    return now && now->size == m_opened.size && now->modified == m_opened.modified;
}
