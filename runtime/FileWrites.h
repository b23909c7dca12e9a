#pragma once

#include <filesystem>
#include <string_view>

namespace dv {

// The system calls behind writing a file durably, for the places that replace or copy files.

// Writes every byte to the descriptor, going on after interrupted or partial writes; 0, or the
// errno of the write that failed.
int writeAllBytes(int fd, std::string_view bytes);

// Flushes the entries of `folder` (a file made, renamed or removed in it) to the disk; 0, or the
// errno of opening or flushing it.
int syncFolder(const std::filesystem::path& folder);

}  // namespace dv
