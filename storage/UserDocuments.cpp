#include "storage/UserDocuments.h"

#include <cstdlib>

#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

// The value of XDG_DOCUMENTS_DIR="..." on a line, or nothing.
std::optional<std::string> DocumentsEntry(const std::string& line) {
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
    if (!line.starts_with(kKey)) {
        return std::nullopt;
    }
    std::string value = line.substr(kKey.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

fs::path XdgDocumentsFolder(const char* home, const char* configHome) {
    if (home == nullptr || *home == '\0') {
        return {};
    }
    const fs::path homeFolder = home;
    const fs::path config = configHome != nullptr && *configHome != '\0' ? fs::path(configHome)
                                                                         : homeFolder / ".config";
    fs::path documents = homeFolder / "Documents";
    std::ifstream settings(config / "user-dirs.dirs", std::ios::binary);
    for (std::string line; std::getline(settings, line);) {
        const std::optional<std::string> value = DocumentsEntry(line);
        if (!value) {
            continue;
        }
        // The only two forms the settings allow: "$HOME/..." and an absolute path.
        if (value->starts_with("$HOME")) {
            documents = fs::path(homeFolder.string() + value->substr(5));
        } else if (value->starts_with('/')) {
            documents = *value;
        }
    }
    return documents;
}

std::filesystem::path UserDocumentsFolder() {
    const char* home = std::getenv("HOME");
    return XdgDocumentsFolder(home != nullptr && *home != '\0' ? home : "/",
                              std::getenv("XDG_CONFIG_HOME"));
}
