#pragma once
// Whole-file writes that never leave a half-written file behind.

#include <cstddef>
#include <filesystem>
#include <string>

struct AtomicWriteOptions {
    // Write into an unnamed file (Linux O_TMPFILE) that gets a name only just before the rename, so a
    // process killed during the write leaves nothing behind. Falls back to a named temporary file where
    // the file system does not offer it; false always uses the named file.
    bool unnamedTemporary = true;
};

// What a write that succeeded still has to report.
struct AtomicWriteResult {
    // 0 when the folder was flushed after the rename (or its file system cannot flush folders). Otherwise
    // the platform's error of that flush: the target holds the new bytes, but its new name may not survive
    // a power loss.
    int folderFlushError = 0;
    bool NameDurable() const { return folderFlushError == 0; }
};

// Writes size bytes to the target so that the target either keeps its old contents or has the new ones:
//  - when the target is a symbolic link (or a chain of them), the file at the end of the chain is written,
//    and created if the link dangles; the links stay;
//  - an existing target that the caller may not write (a read-only file) is refused with the platform's
//    error, as an open for writing would be; nothing is written then;
//  - the bytes go to a temporary file in the target's folder, are flushed to disk, and the temporary file
//    is renamed over the target; then the folder is flushed, so the new name survives a power loss (when
//    that last flush fails the write has still happened: the result says so, nothing is thrown);
//  - an existing target keeps its permission bits;
//  - temporaries that earlier writes of the same target left behind (a process killed during a save) are
//    removed first, unless another writer still holds them.
// On any failure the target is left as it was, no temporary file remains, and FileError is thrown.
AtomicWriteResult WriteFileAtomically(const std::filesystem::path& target, const void* data, std::size_t size,
                                      const AtomicWriteOptions& options = {});

// The start of every temporary name used for a target file name: "." + the name (cut short when needed),
// then ".", ten random characters and ".tmp" follow. The whole name stays within nameMax bytes.
std::string AtomicTemporaryPrefix(const std::string& targetName, std::size_t nameMax);
