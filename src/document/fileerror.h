#pragma once
// A platform file operation failed (open, create, write, rename). The shell's general error report shows it.

#include <filesystem>
#include <stdexcept>
#include <string>

class FileError : public std::runtime_error {
public:
    FileError(const std::filesystem::path& path, const std::string& what)
        : std::runtime_error(path.string() + ": " + what), path_(path) {}
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};
