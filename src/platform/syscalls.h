#pragma once

// The system calls through which the POSIX file operations touch a folder. Tests hand in a
// double that fails a chosen call, or every call from a chosen one on (a killed process), and
// the program uses the real calls. Each function returns what its system call returns and sets
// errno the same way.

#include <functional>
#include <sys/stat.h>

namespace kurubako {

class Syscalls
{
public:
    virtual ~Syscalls() = default;

    virtual int openDirectory(const char *path); // open(O_DIRECTORY)
    // Every name of an open folder but "." and "..", with its d_type (DT_UNKNOWN where the file
    // system gives none), from the first entry on: dup, fdopendir, readdir. 0, or -1 when the
    // folder could not be read to its end.
    virtual int readDirectory(int dirFd,
                              const std::function<void(const char *name, unsigned char type)> &visit);
    virtual int close(int fd);

    virtual int renameNoReplace(int dirFd, const char *from, const char *to); // renameat2
    virtual int link(int dirFd, const char *from, const char *to); // linkat
    virtual int rename(int dirFd, const char *from, const char *to); // renameat, which replaces
    virtual int unlink(int dirFd, const char *name); // unlinkat
    // A new empty file that fails with EEXIST when the name exists in any form:
    // openat(O_CREAT | O_EXCL | O_NOFOLLOW). Returns the open file.
    virtual int createExclusive(int dirFd, const char *name);

    // What a name itself is (a symbolic link, not its target), asked of the file system afresh
    // rather than taken from the kernel's attribute cache: statx(AT_STATX_FORCE_SYNC). The
    // program compares inode numbers only through this call.
    virtual int statName(int dirFd, const char *name, struct stat *info);
    // What a name leads to, symbolic links followed, as a listing shows it: fstatat().
    virtual int statTarget(int dirFd, const char *name, struct stat *info);
    // The file behind an open descriptor: fstat().
    virtual int statOpenFile(int fd, struct stat *info);

    // The calls of the running system.
    static Syscalls &real();
};

} // namespace kurubako
