#include "document/atomicfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "document/fileerror.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRandomLength = 10;
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr int kMaxLinkHops = 40;  // as the kernel's own limit for a path

std::string ErrnoText(const char* what, int err) {
    return std::string(what) + ": " + std::strerror(err);
}

[[noreturn]] void Fail(const fs::path& target, const char* what, int err) {
    throw FileError(target, ErrnoText(what, err), err);
}

std::string RandomPart() {
    static std::mt19937_64 rng{std::random_device{}()};
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string s;
    for (int i = 0; i < kRandomLength; ++i) s += kDigits[rng() % 36];
    return s;
}

bool IsOwnTemporaryName(std::string_view name, const std::string& prefix) {
    if (name.size() != prefix.size() + kRandomLength + kTemporarySuffix.size()) return false;
    if (name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - kTemporarySuffix.size()) != kTemporarySuffix)
        return false;
    for (char c : name.substr(prefix.size(), kRandomLength))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return false;
    return true;
}

// Follows a chain of symbolic links to the path of the file at its end, which need not exist (a dangling
// link names the file to create).
fs::path ResolveLinks(const fs::path& start) {
    fs::path p = start;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;  // not a link (or not there): this is the file; any error shows when it is written
        std::string text(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 1, '\0');
        for (;;) {
            ssize_t n = ::readlink(p.c_str(), text.data(), text.size());
            if (n < 0) return p;
            if (static_cast<std::size_t>(n) < text.size()) {
                text.resize(static_cast<std::size_t>(n));
                break;
            }
            text.resize(text.size() * 2);  // the link changed meanwhile and grew
        }
        fs::path link(text);
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    Fail(start, "cannot follow the link", ELOOP);
}

// Removes the temporaries of earlier writes of the same target (their writer was killed), but only those
// whose lock nobody holds: a writer holds an exclusive lock on its temporary until the rename.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const int dfd = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        if (!IsOwnTemporaryName(e->d_name, prefix)) continue;
        const int flags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
        int fd = ::openat(dfd, e->d_name, O_RDONLY | flags);
        if (fd < 0) fd = ::openat(dfd, e->d_name, O_WRONLY | flags);
        if (fd < 0) continue;
        struct stat opened {
        }, named{};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dfd, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == opened.st_ino &&
            named.st_dev == opened.st_dev)
            ::unlinkat(dfd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// A temporary file of the target being written: its descriptor (locked) and its name once it has one.
struct Temporary {
    int fd = -1;
    fs::path name;  // empty while the file is unnamed
    ~Temporary() {
        if (fd >= 0) ::close(fd);
        if (!name.empty()) ::unlink(name.c_str());
    }
};

void CreateNamed(const fs::path& target, const fs::path& folder, const std::string& prefix, Temporary& tmp) {
    int lastErr = EEXIST;
    for (int attempt = 0; attempt < 32; ++attempt) {
        fs::path name = folder / (prefix + RandomPart() + std::string(kTemporarySuffix));
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0) {
            lastErr = errno;
            if (lastErr != EEXIST) break;
            continue;
        }
        struct stat st {};
        // A cleaner that found the file before the lock was taken may have removed it: start again then.
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &st) != 0 || st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        tmp.fd = fd;
        tmp.name = name;
        return;
    }
    Fail(target, "cannot create a temporary file", lastErr);
}

// Gives the unnamed file a temporary name beside the target. False when the system does not let it.
bool LinkUnnamed(const fs::path& folder, const std::string& prefix, Temporary& tmp) {
    const std::string procPath = "/proc/self/fd/" + std::to_string(tmp.fd);
    for (int attempt = 0; attempt < 32; ++attempt) {
        fs::path name = folder / (prefix + RandomPart() + std::string(kTemporarySuffix));
        // AT_EMPTY_PATH needs a privilege; the /proc form works for everyone where /proc is mounted.
        int r = ::linkat(tmp.fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
        if (r != 0 && errno != EEXIST)
            r = ::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        if (r == 0) {
            tmp.name = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

void WriteAll(const fs::path& target, int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    std::size_t left = size;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(target, "write failed", errno);
        }
        if (n == 0) Fail(target, "write failed", EIO);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

// Writes and flushes the bytes into a fresh temporary file (unnamed when allowed), then names it.
void WriteTemporary(const fs::path& target, const fs::path& folder, const std::string& prefix, const void* data,
                    std::size_t size, const struct stat* old, bool unnamed, Temporary& tmp) {
    if (unnamed) {
        tmp.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (tmp.fd >= 0 && ::flock(tmp.fd, LOCK_EX) != 0) {
            ::close(tmp.fd);
            tmp.fd = -1;
        }
    }
    if (tmp.fd < 0) CreateNamed(target, folder, prefix, tmp);
    if (old) (void)::fchmod(tmp.fd, old->st_mode & 07777);  // best effort: keep the permissions of the file replaced
    WriteAll(target, tmp.fd, data, size);
    if (::fsync(tmp.fd) != 0) Fail(target, "flush failed", errno);
    if (!tmp.name.empty()) return;
    if (LinkUnnamed(folder, prefix, tmp)) return;
    // The unnamed file cannot be linked in here (no /proc, say): write a named one instead.
    ::close(tmp.fd);
    tmp.fd = -1;
    WriteTemporary(target, folder, prefix, data, size, old, false, tmp);
}

// Returns the error of the folder's flush, 0 when it was flushed or cannot be.
int FlushFolder(const fs::path& folder) {
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return 0;  // a folder we may write but not read: nothing more can be done for it
    int r = ::fsync(dfd);
    int err = errno;
    ::close(dfd);
    // Some file systems cannot flush a folder at all; that is not a failure of this save.
    if (r != 0 && err != EINVAL && err != EROFS && err != ENOTSUP && err != EBADF) return err;
    return 0;
}

}  // namespace

std::string AtomicTemporaryPrefix(const std::string& targetName, std::size_t nameMax) {
    const std::size_t fixed = 2 + kRandomLength + kTemporarySuffix.size();  // the two dots, random part, suffix
    std::size_t keep = targetName.size();
    if (fixed + keep > nameMax) {
        keep = nameMax > fixed ? nameMax - fixed : 0;
        // Do not cut a UTF-8 sequence in two.
        while (keep > 0 && (static_cast<unsigned char>(targetName[keep]) & 0xC0) == 0x80) --keep;
    }
    return "." + targetName.substr(0, keep) + ".";
}

AtomicWriteResult WriteFileAtomically(const fs::path& targetIn, const void* data, std::size_t size,
                                      const AtomicWriteOptions& options) {
    const fs::path target = ResolveLinks(targetIn);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // Replacing by rename needs only the folder's permission; the file's own is what the user set.
    if (exists && !S_ISDIR(old.st_mode) && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        Fail(targetIn, "cannot write the file", errno);

    long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::string prefix =
        AtomicTemporaryPrefix(target.filename().string(), nameMax > 0 ? static_cast<std::size_t>(nameMax) : NAME_MAX);
    RemoveStaleTemporaries(folder, prefix);

    Temporary tmp;
    // On failure ~Temporary removes whatever was made.
    WriteTemporary(targetIn, folder, prefix, data, size, exists && S_ISREG(old.st_mode) ? &old : nullptr,
                   options.unnamedTemporary, tmp);
    if (::rename(tmp.name.c_str(), target.c_str()) != 0) Fail(targetIn, "cannot replace the file", errno);
    tmp.name.clear();  // it is the target now
    ::close(tmp.fd);   // the bytes were flushed above; the lock ends here
    tmp.fd = -1;
    // The target holds the new bytes from here on: a failed flush of its folder is reported, not thrown.
    return AtomicWriteResult{FlushFolder(folder)};
}
