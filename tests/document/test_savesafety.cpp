// Saving in every file-system case: read-only files, symbolic links, long names, temporaries left by a
// killed save, flushing the folder, and a save with no image loaded.

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <memory>

#include "doc_test_support.h"
#include "document/atomicfile.h"
#include "document/fileerror.h"

// ---- the writer's flushes and renames, in order, seen from outside --------------------------------------
// These replace the C library's fsync and rename for this test program and pass every call on; a folder's
// flush fails with g_folderFlushErrno when that is set.
namespace {
struct FsEvent {
    char kind;  // 'f' flush of a file, 'd' flush of a folder, 'r' rename
    ino_t inode;
};
bool g_recordFs = false;
std::vector<FsEvent> g_fsEvents;
int g_folderFlushErrno = 0;
}  // namespace

extern "C" int fsync(int fd) {
    struct stat st {};
    const bool folder = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    if (g_recordFs) g_fsEvents.push_back({folder ? 'd' : 'f', st.st_ino});
    if (folder && g_folderFlushErrno != 0) {
        errno = g_folderFlushErrno;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int rename(const char* from, const char* to) {
    if (g_recordFs) g_fsEvents.push_back({'r', 0});
    return static_cast<int>(::syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
}

namespace {

constexpr std::size_t kSize = 0x80010;
constexpr uid_t kNobody = 65534;

// Makes the document's flagged, undoable edit that the following save is to write.
void EditChipProperty(Doc& d, const std::vector<Byte>& bytes) {
    StageData& st = d.rom->StageAt(4);
    st.SetChipProperty(1, static_cast<Byte>(bytes[0x40410 + 4 * 0x2000 + 1] ^ 0xFF));
    d.flags.SetModified(ModifiedCategory::Chip16x16, 4, true);
}

void GiveAway(const fs::path& root) {
    ASSERT_EQ(::lchown(root.c_str(), kNobody, kNobody), 0);
    for (const auto& e : fs::recursive_directory_iterator(root))
        ASSERT_EQ(::lchown(e.path().c_str(), kNobody, kNobody), 0) << e.path();
}

// Runs body as a user without root's privileges and returns what it reports ("" when everything held).
// Run as root, the folder is handed to the user "nobody" and body runs in a child process that has given
// up root; otherwise body runs here.
std::string AsUnprivileged(const fs::path& folder, const std::function<std::string()>& body) {
    if (::geteuid() != 0) return body();
    GiveAway(folder);
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string r;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 || ::geteuid() == 0)
            r = "cannot give up root";
        else
            r = body();
        if (r.empty()) r = "ok";
        (void)!::write(fds[1], r.data(), r.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status)) return "the unprivileged check died";
    return out == "ok" ? "" : out;
}

std::string Check(bool ok, const std::string& what) {
    return ok ? "" : what + "; ";
}

bool UnnamedFilesWork(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// Saves in a child process that a file-size limit kills half-way through the write (SIGXFSZ).
void SaveKilledHalfWay(const std::function<void()>& save) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit small{0x10000, 0x10000};
        ::setrlimit(RLIMIT_FSIZE, &small);
        save();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(WTERMSIG(status), SIGXFSZ);
}

}  // namespace

TEST(SaveSafety, AReadOnlyImageOrSettingsFileIsRefusedAndNothingChanges) {
    Doc d;
    const auto bytes = NoiseImage(kSize, 31);
    const fs::path in = d.Put("in.nes", bytes);
    ASSERT_EQ(d.rom->LoadFromFile(in), LoadResult::Loaded);
    EditChipProperty(d, bytes);
    fs::permissions(in, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_symlink("in.nes", d.dir / "link.nes");
    d.ini->WriteString("S", "k", "v");
    const std::string iniBefore = ReadText(d.dir / "quorveneditor.ini");
    fs::permissions(d.dir / "quorveneditor.ini", fs::perms::owner_read);

    const std::string failures = AsUnprivileged(d.dir.path(), [&] {
        std::string r;
        for (const fs::path& target : {in, d.dir / "link.nes"}) {
            try {
                d.rom->SaveToFile(target);
                r += "a read-only file was saved over; ";
            } catch (const FileError& e) {
                r += Check(e.Errno() == EACCES, "not the platform's error for a read-only file");
                r += Check(std::string(e.what()).find(std::strerror(EACCES)) != std::string::npos,
                           std::string("message: ") + e.what());
            }
        }
        r += Check(ReadAll(in) == bytes, "the file changed");
        r += Check((fs::status(in).permissions() & fs::perms::all) ==
                       (fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read),
                   "the permissions changed");
        r += Check(fs::is_symlink(d.dir / "link.nes"), "the link was replaced");
        r += Check(d.flags.IsModified(ModifiedCategory::Chip16x16, 4), "the flag was cleared");
        r += Check(d.rom->StageAt(4).CanUndo(), "the history was cleared");
        r += Check(d.rom->FileName() == in, "the file name changed");
        try {
            d.ini->UpdateFile();
            r += "a read-only settings file was saved over; ";
        } catch (const FileError& e) {
            r += Check(e.Errno() == EACCES, "settings: not the platform's error");
        }
        r += Check(ReadText(d.dir / "quorveneditor.ini") == iniBefore, "the settings file changed");
        r += Check(d.dir.Entries() == std::vector<std::string>{"in.nes", "link.nes", "quorveneditor.ini"},
                   "files were left behind");
        return r;
    });
    EXPECT_EQ(failures, "");
}

TEST(SaveSafety, LinksAreKeptAndTheFileTheyNameIsWrittenEvenWhenMissing) {
    Doc d;
    const auto bytes = NoiseImage(kSize, 32);
    ASSERT_EQ(d.rom->LoadFromFile(d.Put("in.nes", bytes)), LoadResult::Loaded);
    fs::create_directory(d.dir / "sub");

    // A dangling relative link, then a chain of two links (the second absolute) to the file it created.
    fs::create_symlink("sub/target.nes", d.dir / "link.nes");
    d.rom->SaveToFile(d.dir / "link.nes");
    EXPECT_TRUE(fs::is_symlink(d.dir / "link.nes"));
    EXPECT_EQ(fs::read_symlink(d.dir / "link.nes"), "sub/target.nes");
    EXPECT_EQ(ReadAll(d.dir / "sub" / "target.nes"), bytes);

    fs::create_symlink(d.dir / "link.nes", d.dir / "sub" / "chain.nes");
    EditChipProperty(d, bytes);
    d.rom->SaveToFile(d.dir / "sub" / "chain.nes");
    EXPECT_TRUE(fs::is_symlink(d.dir / "sub" / "chain.nes"));
    EXPECT_TRUE(fs::is_symlink(d.dir / "link.nes"));
    EXPECT_NE(ReadAll(d.dir / "sub" / "target.nes"), bytes);
    EXPECT_EQ(ReadAll(d.dir / "sub" / "target.nes").size(), kSize);

    // The settings file through a dangling absolute link.
    fs::create_symlink(d.dir / "sub" / "settings.ini", d.dir / "q.ini");
    TMyMemIniFile ini(d.dir / "q.ini");
    ini.WriteString("S", "k", "v");
    ini.UpdateFile();
    EXPECT_TRUE(fs::is_symlink(d.dir / "q.ini"));
    EXPECT_EQ(ReadText(d.dir / "sub" / "settings.ini"), "[S]\nk=v\n");

    // A loop of links is the platform's error, and creates nothing.
    fs::create_symlink("loop2.nes", d.dir / "loop1.nes");
    fs::create_symlink("loop1.nes", d.dir / "loop2.nes");
    try {
        d.rom->SaveToFile(d.dir / "loop1.nes");
        ADD_FAILURE() << "a loop of links was saved";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Errno(), ELOOP);
    }
    EXPECT_EQ(d.dir.Entries(), (std::vector<std::string>{"in.nes", "link.nes", "loop1.nes", "loop2.nes", "q.ini",
                                                         "quorveneditor.ini", "sub"}));
}

TEST(SaveSafety, NamesUpToTheFileNameLimitCanBeSaved) {
    Doc d;
    const auto bytes = NoiseImage(kSize, 33);
    for (std::size_t length : {240u, 254u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name = std::string(length - 4, 'n') + ".nes";
        const fs::path p = d.Put(name, bytes);
        ASSERT_EQ(d.rom->LoadFromFile(p), LoadResult::Loaded);
        EditChipProperty(d, bytes);
        d.rom->SaveToFile(p);
        EXPECT_NE(ReadAll(p), bytes);
        fs::remove(p);

        TMyMemIniFile ini(d.dir / (std::string(length - 4, 'i') + ".ini"));
        ini.WriteString("S", "k", "v");
        ini.UpdateFile();
        fs::remove(ini.FileName());
    }
    EXPECT_EQ(d.dir.Entries(), (std::vector<std::string>{"quorveneditor.ini"}));

    // The temporary name is cut short to fit, never in the middle of a UTF-8 character.
    const std::string kana = "\xE3\x81\x82";  // one three-byte character
    std::string longName;
    while (longName.size() + 3 <= 255) longName += kana;
    const std::string prefix = AtomicTemporaryPrefix(longName, 255);
    EXPECT_LE(prefix.size() + 14, 255u);
    EXPECT_EQ((prefix.size() - 2) % 3, 0u);
    EXPECT_EQ(AtomicTemporaryPrefix("in.nes", 255), ".in.nes.");
}

TEST(SaveSafety, AKilledSaveLeavesNoTemporaryFileForLong) {
    Doc d;
    const auto bytes = NoiseImage(kSize, 34);
    const fs::path in = d.Put("in.nes", bytes);
    ASSERT_EQ(d.rom->LoadFromFile(in), LoadResult::Loaded);
    EditChipProperty(d, bytes);
    const std::vector<std::string> clean{"in.nes", "quorveneditor.ini"};

    // The usual way: nothing named exists until the write is complete.
    SaveKilledHalfWay([&] { d.rom->SaveToFile(in); });
    EXPECT_EQ(ReadAll(in), bytes);
    if (UnnamedFilesWork(d.dir.path()))
        EXPECT_EQ(d.dir.Entries(), clean);
    else
        std::printf("[ note ] no unnamed temporary files in %s: the named fallback is used\n", d.dir.path().c_str());

    // Where the file system has no unnamed files: the next save removes what the killed one left, so
    // at most one is ever there.
    SaveKilledHalfWay([&] { WriteFileAtomically(in, bytes.data(), bytes.size(), AtomicWriteOptions{false}); });
    SaveKilledHalfWay([&] { WriteFileAtomically(in, bytes.data(), bytes.size(), AtomicWriteOptions{false}); });
    EXPECT_EQ(d.dir.Entries().size(), clean.size() + 1);
    d.rom->SaveToFile(in);
    EXPECT_EQ(d.dir.Entries(), clean);
    EXPECT_NE(ReadAll(in), bytes);
}

TEST(SaveSafety, OnlyTheWritersOwnStaleTemporariesOfThatTargetAreRemoved) {
    Doc d;
    const auto bytes = NoiseImage(kSize, 35);
    const fs::path in = d.Put("in.nes", bytes);
    ASSERT_EQ(d.rom->LoadFromFile(in), LoadResult::Loaded);
    for (const char* name :
         {".in.nes.abcdefghij.tmp", ".in.nes.0123456789.tmp", ".in.nes.ABCDEFGHIJ.tmp", ".in.nes.short.tmp",
          ".in.nes2.abcdefghij.tmp", ".other.nes.abcdefghij.tmp", "in.nes.abcdefghij.tmp"})
        WriteText(d.dir / name, "stale");
    // Another writer's temporary that is still being written: its lock is held.
    const int held = ::open((d.dir / ".in.nes.zzzzzzzzzz.tmp").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    d.rom->SaveToFile(in);
    ::close(held);
    EXPECT_EQ(d.dir.Entries(),
              (std::vector<std::string>{".in.nes.ABCDEFGHIJ.tmp", ".in.nes.short.tmp", ".in.nes.zzzzzzzzzz.tmp",
                                        ".in.nes2.abcdefghij.tmp", ".other.nes.abcdefghij.tmp", "in.nes",
                                        "in.nes.abcdefghij.tmp", "quorveneditor.ini"}));
}

TEST(SaveSafety, TheFolderIsFlushedAfterTheRename) {
    Doc d;
    const auto bytes = NoiseImage(kSize, 36);
    const fs::path in = d.Put("in.nes", bytes);
    ASSERT_EQ(d.rom->LoadFromFile(in), LoadResult::Loaded);
    for (bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed);
        g_fsEvents.clear();
        g_recordFs = true;
        WriteFileAtomically(in, bytes.data(), bytes.size(), AtomicWriteOptions{unnamed});
        g_recordFs = false;
        struct stat file {
        }, folder{};
        ASSERT_EQ(::stat(in.c_str(), &file), 0);
        ASSERT_EQ(::stat(d.dir.path().c_str(), &folder), 0);
        ASSERT_EQ(g_fsEvents.size(), 3u);
        EXPECT_EQ(g_fsEvents[0].kind, 'f');
        EXPECT_EQ(g_fsEvents[0].inode, file.st_ino);  // the new file's bytes first
        EXPECT_EQ(g_fsEvents[1].kind, 'r');
        EXPECT_EQ(g_fsEvents[2].kind, 'd');  // then the folder that now names it
        EXPECT_EQ(g_fsEvents[2].inode, folder.st_ino);
    }
}

// The target already holds the new bytes when the folder's flush fails: a save, with the error reported.
TEST(SaveSafety, AFailedFlushOfTheFolderIsASaveWhoseNameMayNotBeDurable) {
    Doc d;
    const auto bytes = NoiseImage(kSize, 39);
    const fs::path in = d.Put("in.nes", bytes);
    ASSERT_EQ(d.rom->LoadFromFile(in), LoadResult::Loaded);
    EditChipProperty(d, bytes);
    const std::vector<Byte> edited = d.rom->ComposeImage();
    g_folderFlushErrno = EIO;
    const AtomicWriteResult failed = d.rom->SaveToFile(in);
    g_folderFlushErrno = 0;
    EXPECT_EQ(failed.folderFlushError, EIO);
    EXPECT_EQ(ReadAll(in), edited);
    EXPECT_FALSE(d.flags.AnyModified());
    EXPECT_EQ(d.dir.Entries(), (std::vector<std::string>{"in.nes", "quorveneditor.ini"}));
    EXPECT_TRUE(d.rom->SaveToFile(in).NameDurable());
}

TEST(SaveSafety, NothingIsSavedWhileNoImageIsLoaded) {
    Doc d;
    const auto bytes = NoiseImage(kSize, 37);
    const fs::path in = d.Put("in.nes", bytes);
    EXPECT_THROW(d.rom->SaveToFile(d.dir / "never.nes"), NoImageError);  // before the first load
    ASSERT_EQ(d.rom->LoadFromFile(in), LoadResult::Loaded);
    EXPECT_TRUE(d.rom->IsLoaded());
    EditChipProperty(d, bytes);
    d.rom->CloseImage();
    EXPECT_FALSE(d.rom->IsLoaded());
    EXPECT_THROW(d.rom->SaveToFile(in), NoImageError);
    EXPECT_EQ(ReadAll(in), bytes);
    EXPECT_EQ(d.dir.Entries(), (std::vector<std::string>{"in.nes", "quorveneditor.ini"}));
    // A refused load does not make the closed document saveable either; a good one does.
    EXPECT_EQ(d.rom->LoadFromFile(d.Put("bad.nes", NoiseImage(kSize, 38, false))), LoadResult::BadMagic);
    EXPECT_THROW(d.rom->SaveToFile(in), NoImageError);
    ASSERT_EQ(d.rom->LoadFromFile(in), LoadResult::Loaded);
    d.rom->SaveToFile(d.dir / "copy.nes");
    EXPECT_EQ(ReadAll(d.dir / "copy.nes"), bytes);
}
