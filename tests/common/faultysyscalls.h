#pragma once

// A Syscalls double for the POSIX file operations: fails chosen calls with a chosen errno,
// stops every change from a chosen call on as a killed process would, runs a test's hook where
// another program could change the folder, and passes every other call to the system.

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
    int createErrno = 0; // every exclusive create fails with this errno
    // Names that cannot be taken away: their unlink, and a plain rename of them, fail with
    // EACCES.
    QByteArrayList unlinkFailing;
    // The process is killed after this many calls that change the folder (0: never): every
    // later call fails and changes nothing.
    int killedAfter = 0;

    bool inodePerName = false; // names are numbered each on its own (libfuse 2 without use_ino)

    // Run before the n-th renameNoReplace (whether it then fails or not) and after a link to a
    // name that is not hidden, that succeeded: the moments at which a change by another
    // program hurts most.
    std::function<void(int n)> beforeRename;
    std::function<void(const char *from, const char *to)> afterLink;
    // Run before the n-th call that changes the folder (renameNoReplace, link, rename, unlink,
    // createExclusive): every moment between two steps of a rename.
    std::function<void(int n)> beforeCall;

    int renameNoReplace(int dirFd, const char *from, const char *to) override
    {
        if (!changing())
            return fail(EIO);
        ++m_renames;
        if (beforeRename)
            beforeRename(m_renames);
        if (renameErrno && m_renames >= renameFailsFrom)
            return fail(renameErrno);
        return Syscalls::renameNoReplace(dirFd, from, to);
    }
    int link(int dirFd, const char *from, const char *to) override
    {
        if (!changing())
            return fail(EIO);
        if (linkErrno)
            return fail(linkErrno);
        const int result = Syscalls::link(dirFd, from, to);
        if (result == 0 && afterLink && to[0] != '.')
            afterLink(from, to);
        return result;
    }
    int rename(int dirFd, const char *from, const char *to) override
    {
        if (!changing())
            return fail(EIO);
        return unlinkFailing.contains(QByteArray(from)) ? fail(EACCES) : Syscalls::rename(dirFd, from, to);
    }
    int unlink(int dirFd, const char *name) override
    {
        if (!changing())
            return fail(EIO);
        return unlinkFailing.contains(QByteArray(name)) ? fail(EACCES) : Syscalls::unlink(dirFd, name);
    }
    int createExclusive(int dirFd, const char *name) override
    {
        if (!changing())
            return fail(EIO);
        if (createErrno)
            return fail(createErrno);
        const int fd = Syscalls::createExclusive(dirFd, name);
        if (fd >= 0)
            m_created[fd] = name;
        return fd;
    }

    int statName(int dirFd, const char *name, struct stat *info) override
    {
        return numbered(Syscalls::statName(dirFd, name, info), name, info);
    }
    int statOpenFile(int fd, struct stat *info) override
    {
        return numbered(Syscalls::statOpenFile(fd, info), m_created.value(fd), info);
    }

    int changes() const { return m_calls; }

private:
    static int fail(int error)
    {
        errno = error;
        return -1;
    }
    // Counts a call that changes the folder; false once the process counts as killed.
    bool changing()
    {
        if (killedAfter && m_calls >= killedAfter)
            return false;
        ++m_calls;
        if (beforeCall)
            beforeCall(m_calls);
        return true;
    }
    int numbered(int result, const QByteArray &name, struct stat *info) const
    {
        if (result == 0 && inodePerName && !name.isEmpty())
            info->st_ino = qHash(name);
        return result;
    }

    int m_renames = 0;
    int m_calls = 0;
    QHash<int, QByteArray> m_created;
};
