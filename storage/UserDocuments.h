#pragma once

#include <filesystem>

// The user's Documents folder as the XDG user-dirs settings name it: XDG_DOCUMENTS_DIR in
// user-dirs.dirs below configHome (or home/.config when it is null or empty), "$HOME" expanded,
// else home/Documents; nothing without a home. Paths are bytes throughout, whatever their encoding.
std::filesystem::path XdgDocumentsFolder(const char* home, const char* configHome);
// This user's, from the environment; without a home the root stands for it, as for Qt, so that no
// path is ever relative.
std::filesystem::path UserDocumentsFolder();
