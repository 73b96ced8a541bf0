#pragma once
// Whole-file writes that never leave a half-written file behind.

#include <cstddef>
#include <filesystem>

// Writes size bytes to a new temporary file in the target's folder, flushes it to disk and renames it over
// the target only after every byte was written. On any failure the temporary file is removed, the target is
// left as it was, and FileError is thrown. An existing target keeps its permission bits; when the target is a
// symbolic link, the file it points to is replaced.
void WriteFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size);
