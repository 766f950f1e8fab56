#pragma once

#include "app/programversion.h"

#include <QString>

namespace kurubako {

// What a double-click in a snack list does, stored as "Chk2" (0 or 1).
enum class DoubleClickAction : qint16 { Move = 0, Rename = 1 };

// The preferences of one run: what the store gives at start-up, and what the run changes and
// stores again.
struct Preferences
{
    QString postPetDir; // empty while unknown
    qint32 windowTop = 0; // main window's outer top, twips
    qint32 windowLeft = 0; // main window's outer left, twips
    bool skipQuestions = false; // ask no confirmation question
    DoubleClickAction doubleClickAction = DoubleClickAction::Move;
    float storedVersion = 0.0f; // the version read from the store

    // The snack folder: PostPet's folder, the platform's separator, "おやつ".
    QString snackDir() const;
};

} // namespace kurubako
