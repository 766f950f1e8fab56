#pragma once

#include <QString>

namespace kurubako {

// What a double-click in a snack list does, stored as "Chk2" (0 or 1).
enum class DoubleClickAction : qint16 { Move = 0, Rename = 1 };

// The state that lives for the whole run, shared by the windows. One instance exists per
// run; the windows are handed it.
struct Globals
{
    QString postPetDir;           // PostPet's folder; empty while unknown
    QString snackDir;             // always snackDirOf(postPetDir)
    qint32 windowTop = 0;         // main window's outer top, in twips
    qint32 windowLeft = 0;        // main window's outer left, in twips
    bool skipConfirm = false;     // "Chk1": ask no confirmation questions
    DoubleClickAction doubleClickAction = DoubleClickAction::Move; // "Chk2"
    float storedVersion = 0.0f;   // "ver" as read back from the store
    float programVersion = 0.0f;  // the program's own version, set first at start-up

    // Sets postPetDir and snackDir together, as every change of the folder must.
    void setPostPetDir(const QString &folder);
};

// The snack folder of a PostPet folder: the folder, the platform's separator, "おやつ".
QString snackDirOf(const QString &postPetDir);

} // namespace kurubako
