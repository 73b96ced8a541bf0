#include "atomicfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "fileerror.h"

namespace {

std::string ErrnoText(const char* what, int err)
{
    return std::string(what) + ": " + std::strerror(err);
}

// Opens a fresh file beside target with a name nobody else uses; returns the descriptor and its path.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& tempPath)
{
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    static std::mt19937_64 rng{std::random_device{}()};
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    int lastErr = 0;
    for (int attempt = 0; attempt < 32; ++attempt) {
        std::string suffix;
        for (int i = 0; i < 10; ++i)
            suffix += kDigits[rng() % 36];
        std::string name(1, '.');
        name.append(target.filename().string()).append(1, '.').append(suffix).append(".tmp");
        tempPath = folder / name;
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        lastErr = errno;
        if (lastErr != EEXIST)
            break;
    }
    throw FileError(target, ErrnoText("cannot create a temporary file", lastErr));
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& targetIn, const void* data, std::size_t size)
{
    std::filesystem::path target = targetIn;
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec))) {
        std::filesystem::path resolved = std::filesystem::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }

    std::filesystem::path tempPath;
    int fd = CreateTemporaryBeside(target, tempPath);
    auto fail = [&](const char* what, int err) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(tempPath.c_str());
        throw FileError(targetIn, ErrnoText(what, err));
    };

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(fd, old.st_mode & 07777);  // best effort: keep the permissions of the file being replaced

    const auto* p = static_cast<const unsigned char*>(data);
    std::size_t left = size;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("write failed", errno);
        }
        if (n == 0)
            fail("write failed", EIO);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        fail("flush failed", errno);
    int closeResult = ::close(fd);
    fd = -1;
    if (closeResult != 0)
        fail("close failed", errno);
    if (::rename(tempPath.c_str(), target.c_str()) != 0)
        fail("cannot replace the file", errno);
}
