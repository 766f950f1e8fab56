#pragma once

// The system calls through which the POSIX file operations touch the snack folder. Tests
// hand in a double that fails a chosen call with a chosen errno; the program uses the real
// calls. Every function returns what the system call returns and sets errno the same way.

#include <sys/stat.h>

namespace kurubako {

class Syscalls
{
public:
    virtual ~Syscalls() = default;

    virtual int openDirectory(const char *path); // open(O_DIRECTORY)
    virtual int renameNoReplace(int dirFd, const char *from, const char *to); // renameat2
    virtual int link(int dirFd, const char *from, const char *to); // linkat
    virtual int rename(int dirFd, const char *from, const char *to); // renameat, which replaces
    virtual int unlink(int dirFd, const char *name); // unlinkat
    // What a name stands for (a link itself, not its target), asked of the file system afresh
    // rather than taken from what the kernel keeps of it: statx(AT_STATX_FORCE_SYNC). Through
    // this the program tells whether two names are one file.
    virtual int stat(int dirFd, const char *name, struct stat *info);

    // The calls of the running system.
    static Syscalls &real();
};

} // namespace kurubako
