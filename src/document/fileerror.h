#pragma once
// A platform file operation failed (open, create, write, rename). The shell's general error report shows it.

#include <filesystem>
#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
public:
    FileError(const std::filesystem::path& path, const std::string& what, int err = 0)
        : std::runtime_error(path.string() + ": " + what), path_(path), errno_(err) {}
    const std::filesystem::path& Path() const { return path_; }
    // The platform's error number (errno), 0 when the failure has none.
    int Errno() const { return errno_; }

private:
    std::filesystem::path path_;
    int errno_ = 0;
};
