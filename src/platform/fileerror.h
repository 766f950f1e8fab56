#pragma once

#include <QString>

namespace kurubako {

// How a file operation on the snack folder ended. The number shown to the user is the code's
// value; the program tests only for FileExists (58) and shows every other number as it comes.
struct FileError
{
    enum Code : int {
        None = 0,
        NoSafeRename = 5, // the file system cannot rename without risking a replacement
        BadFileName = 52, // the name is not acceptable to the file system
        FileNotFound = 53, // the file to rename is gone
        DeviceIo = 57, // the device reported an input/output error
        FileExists = 58, // a file of the new name exists (in any letter case)
        DiskFull = 61, // no space or quota left
        NameTooLong = 64, // the new name is longer than the file system allows
        PermissionDenied = 70, // the user may not change the folder or the file
        OtherDevice = 74, // source and target lie on different devices
        ReadOnly = 75, // the folder lies on a read-only file system
        PathNotFound = 76, // the snack folder is gone or is not a folder
        OtherFileAside = 79, // a file could get neither name back and waits under a hidden name
        Unexpected = 51, // any other failure of the system
    };

    FileError() = default;
    // The failure `code` with its standard Japanese description.
    FileError(Code code); // NOLINT(google-explicit-constructor): a code is a complete error

    Code code = None;
    QString description;

    int number() const { return code; }
    bool failed() const { return code != None; }
};

} // namespace kurubako
