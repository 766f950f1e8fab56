#pragma once

// A run of the program on the offscreen platform, with real snack files in a temporary
// PostPet folder and doubles for the settings store, the message boxes, process starts and
// document opening.

#include "../common/testfolder.h"

#include "common/memorysettingsstore.h"
#include "common/recordingdocumentopener.h"
#include "common/recordingprocessstarter.h"
#include "common/scriptedmsgbox.h"
#include "platform/fileops.h"
#include "platform/offthreadcall.h"
#include "ui/fonts.h"
#include "ui/mainwindow.h"
#include "ui/program.h"
#include "ui/renamedialog.h"
#include "ui/snacklist.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

class UiFixture
{
public:
    // The folders as the user's system writes them ("\\" on Windows), as the program does.
    UiFixture()
        : postPetDir(QDir::toNativeSeparators(folder.path() + u"/PostPet"_s))
        , snackDir(postPetDir + QDir::separator() + u"おやつ"_s)
        , files(kurubako::systemFileOps())
    {
        kurubako::useProgramFont(); // as the program does when it starts
        QDir().mkpath(snackDir);
        testfolder::makeFile(postPetDir, "Postpet20.exe", "#!/bin/sh\n");
    }

    ~UiFixture() { program.reset(); }

    // A store as a previous run left it, with PostPet's folder known.
    void storeKnownFolder()
    {
        store.setValue(u"top"_s, u"0"_s);
        store.setValue(u"left"_s, u"0"_s);
        store.setValue(u"Chk1"_s, u"False"_s);
        store.setValue(u"Chk2"_s, u"0"_s);
        store.setValue(u"ver"_s, u"1.1"_s);
        store.setValue(u"postpet_dir"_s, postPetDir);
    }

    bool addSnacks(const QByteArrayList &names) { return testfolder::make(snackDir, names); }

    kurubako::Program &start()
    {
        program = std::make_unique<kurubako::Program>(services(), store, [this] { ++endCount; });
        program->start();
        return *program;
    }

    // Starts with the folder known, and the stored values of `stored` beside it, and returns
    // the main window, shown and active.
    kurubako::MainWindow *startMainWindow(const QHash<QString, QString> &stored = {})
    {
        storeKnownFolder();
        for (auto value = stored.cbegin(); value != stored.cend(); ++value)
            store.setValue(value.key(), value.value());
        start();
        kurubako::MainWindow *window = program->mainWindow();
        if (window) {
            window->activateWindow();
            QApplication::setActiveWindow(window);
        }
        return window;
    }

    // Nothing waits for an answer: each comes through the event loop, and the wait box and a
    // drive's mark as not ready come at once.
    static kurubako::Waits noWaiting()
    {
        using std::chrono::milliseconds;
        return {milliseconds(0), milliseconds(0), milliseconds(0), kurubako::OffThreadCall::Unlimited,
                milliseconds(0)};
    }

    kurubako::Services services() { return {*files, box, starter, opener, waits}; }
    kurubako::MainWindow *window() const { return program ? program->mainWindow() : nullptr; }

    // The rename dialog as the main window opens it on the current snack of `set`, not shown.
    std::unique_ptr<kurubako::RenameDialog> renameDialog(kurubako::SnackSet set)
    {
        return window()->newRenameDialog(set);
    }
    // Runs `drive` on the modal dialog of type Dialog that `actionName` opens, while it is open,
    // and returns when it has closed (closing it if `drive` left it open): false when no such
    // dialog opened.
    template<typename Dialog, typename Drive>
    bool withDialog(const char *actionName, Drive drive)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            drive(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        action(actionName)->trigger();
        return seen;
    }
    // The same for the rename dialog of `set`, opened from its list's pop-up entry.
    template<typename Drive>
    bool withRenameDialog(kurubako::SnackSet set, Drive drive)
    {
        return withDialog<kurubako::RenameDialog>(
            set == kurubako::SnackSet::Stock ? "renameStockSnackAction" : "renameTodaySnackAction", drive);
    }
    kurubako::SnackListView *list(const char *name) const
    {
        return window()->findChild<kurubako::SnackListView *>(QString::fromLatin1(name));
    }
    QStringList names(const char *listName) const
    {
        QStringList shown;
        for (const kurubako::Snack &snack : list(listName)->snackModel()->snacks())
            shown.append(snack.name);
        return shown;
    }
    QString labelText(const char *name) const
    {
        return window()->findChild<QLabel *>(QString::fromLatin1(name))->text();
    }
    QAction *action(const char *name) const
    {
        return window()->findChild<QAction *>(QString::fromLatin1(name));
    }
    // Clicks an enabled button of the main window: false when there is none.
    [[nodiscard]] bool click(const char *buttonName) const
    {
        auto *button = window()->findChild<QPushButton *>(QString::fromLatin1(buttonName));
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
    // Selects the rows of a list whose names are given, as Ctrl-clicks would.
    void select(const char *listName, const QStringList &snackNames) const
    {
        kurubako::SnackListView *view = list(listName);
        const auto &snacks = view->snackModel()->snacks();
        for (qsizetype row = 0; row < snacks.size(); ++row) {
            if (snackNames.contains(snacks.at(row).name))
                view->selectionModel()->select(view->snackModel()->index(int(row)),
                                               QItemSelectionModel::Select);
        }
    }
    QByteArray snapshot() const { return testfolder::snapshot(snackDir); }
    // No two names of the snack folder are the same name to the program (in any letter case).
    bool namesDistinct() const
    {
        QSet<QString> folded;
        const QByteArrayList names = testfolder::namesIn(snackDir);
        for (const QByteArray &name : names)
            folded.insert(kurubako::foldedName(kurubako::displayName(name)));
        return folded.size() == names.size();
    }

    testfolder::TempFolder folder;
    const QString postPetDir;
    const QString snackDir;
    kurubako::MemorySettingsStore store;
    std::unique_ptr<kurubako::FileOps> files;
    // Every command waits for its answer, so that a test sees its end at once; no box appears.
    static constexpr auto Unlimited = kurubako::OffThreadCall::Unlimited;
    kurubako::Waits waits{Unlimited, Unlimited, Unlimited, std::chrono::milliseconds(500), Unlimited};
    kurubako::ScriptedMsgBox box;
    kurubako::RecordingProcessStarter starter;
    kurubako::RecordingDocumentOpener opener;
    int endCount = 0;
    std::unique_ptr<kurubako::Program> program;
};
