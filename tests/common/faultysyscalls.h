#pragma once

// A Syscalls double for the POSIX file operations: fails chosen calls with a chosen errno,
// runs a test's hook where another program could change the folder, and passes every other
// call to the system.

#include "platform/syscalls.h"

#include <QByteArrayList>
#include <QHash>

#include <cerrno>
#include <functional>

class FaultySyscalls final : public kurubako::Syscalls
{
public:
    int renameErrno = 0; // renameNoReplace fails with this errno...
    int renameFailsFrom = 1; // ...from this call on (counted from 1)
    int linkErrno = 0; // every link fails with this errno
    // Names that cannot be taken away: their unlink, and a plain rename of them, fail with
    // EACCES.
    QByteArrayList unlinkFailing;

    bool inodePerName = false; // stat numbers each name on its own (libfuse 2 without use_ino)
    bool noLinkCounts = false; // stat counts one link for every file

    // Run before the n-th renameNoReplace (whether it then fails or not) and after a link of a
    // snack (not of the program's own hidden names) that succeeded: the moments at which a
    // change by another program hurts most.
    std::function<void(int n)> beforeRename;
    std::function<void(const char *from, const char *to)> afterLink;
    // Run before the n-th call on a name of any kind (renameNoReplace, link, rename, unlink):
    // every moment between two steps of a rename.
    std::function<void(int n)> beforeCall;

    int renameNoReplace(int dirFd, const char *from, const char *to) override
    {
        called();
        ++m_renames;
        if (beforeRename)
            beforeRename(m_renames);
        if (renameErrno && m_renames >= renameFailsFrom)
            return fail(renameErrno);
        return Syscalls::renameNoReplace(dirFd, from, to);
    }
    int link(int dirFd, const char *from, const char *to) override
    {
        called();
        if (linkErrno)
            return fail(linkErrno);
        const int result = Syscalls::link(dirFd, from, to);
        if (result == 0 && afterLink && from[0] != '.')
            afterLink(from, to);
        return result;
    }
    int rename(int dirFd, const char *from, const char *to) override
    {
        called();
        return unlinkFailing.contains(QByteArray(from)) ? fail(EACCES) : Syscalls::rename(dirFd, from, to);
    }
    int unlink(int dirFd, const char *name) override
    {
        called();
        return unlinkFailing.contains(QByteArray(name)) ? fail(EACCES) : Syscalls::unlink(dirFd, name);
    }

    int stat(int dirFd, const char *name, struct stat *info) override
    {
        const int result = Syscalls::stat(dirFd, name, info);
        info->st_ino = inodePerName ? qHash(QByteArray(name)) : info->st_ino;
        info->st_nlink = noLinkCounts ? 1 : info->st_nlink;
        return result;
    }

private:
    static int fail(int error)
    {
        errno = error;
        return -1;
    }
    void called()
    {
        ++m_calls;
        if (beforeCall)
            beforeCall(m_calls);
    }

    int m_renames = 0;
    int m_calls = 0;
};
