#pragma once

#include <filesystem>
#include <string_view>

// 1 when path names an existing directory (links followed), else 0.
int DirectoryExists(const std::filesystem::path& path);
// 1 when path names an existing entry that is not a directory, else 0.
int FileExists(const std::filesystem::path& path);
// Replaces the file at path (or the file a link there names) with exactly bytes, atomically,
// keeping its permission bits: 1 on success, 0 when nothing was replaced. A read-only target is
// not replaced.
int WriteBytesFile(const std::filesystem::path& path, std::string_view bytes);
// Removes folder and everything below it, depth first, never following a link: a link to a
// folder, at the top as below it, is removed by itself. 1 when folder was a directory (or a link
// to one) whose removal was attempted, 0 otherwise.
int DeleteDirectoryTree(const std::filesystem::path& folder);
