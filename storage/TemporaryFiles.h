#pragma once

// The temporary files AtomicFile writes beside its targets. They are named alike everywhere;
// each platform has its own means of telling a live writer's file from one left behind.

#include <filesystem>
#include <string>
#include <string_view>

inline constexpr std::string_view kTemporaryPrefix = ".Tallow-";
inline constexpr std::string_view kTemporarySuffix = ".tmp";

// A short name beside target, whatever the target is called, so that a target whose name is as
// long as the file system allows can still be replaced.
std::filesystem::path TemporarySibling(const std::filesystem::path& target);

// Removes the temporary files in folder that no writer holds any more.
void RemoveAbandonedTemporaries(const std::filesystem::path& folder);

// Per platform: what a temporary file's name carries of its writer after the prefix.
std::string WriterTag();
// Per platform: removes temporary when no writer holds it any more.
void RemoveIfAbandoned(const std::filesystem::path& temporary);
