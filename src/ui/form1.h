#pragma once

#include "snacks/snackname.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace kurubako {

class Program;
class SnackListView;

// The main window: stock snacks on the left (List1), today's snacks on the right (List2).
class Form1 final : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(Program &program);
    ~Form1() override;

    // Fills both lists and both counts from the snack folder; nothing is selected after.
    void RefreshSnackLists();

    // The question switch: while set, no confirmation question is asked.
    bool questionsOff() const;

    SnackListView *snackList(qint16 renameSource) const;

    // The window's commands, named after the control and the event.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click(int Index);
    void Command4_Click(int Index);
    void Command5_Click();
    void Command6_Click();
    void kakunin_Click();
    void List1_MouseDown(Qt::MouseButton Button, const QPoint &globalPos);
    void List2_MouseDown(Qt::MouseButton Button, const QPoint &globalPos);
    void List1_DblClick();
    void List2_DblClick();
    void new_Click();
    void postpet_Click();
    void postpet_end_Click();
    void exit_Click();
    void config_Click();
    void version_Click();
    void help_dsp_Click();
    void move_oyatu_Click();
    void move_stock_Click();
    void oyatu_renameA_Click();
    void oyatu_renameB_Click();

protected:
    void closeEvent(QCloseEvent *event) override; // every close of the window passes here
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Transfer;
    struct ListSide;

    void buildControls();
    void buildMenus();
    void Form_Load();
    bool Form_KeyDown(int key);
    void runTransfer(const Transfer &transfer);
    void showListMenu(const ListSide &side, Qt::MouseButton button, const QPoint &globalPos);
    void doubleClick(SnackSet set);
    void rename(qint16 renameSource);

    Program &m_program;

    SnackListView *List1 = nullptr;
    SnackListView *List2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command1 = nullptr;
    QAction *kakunin = nullptr;
    QMenu *stock = nullptr;
    QMenu *oyatu = nullptr;
    QAction *lineC = nullptr;
    QAction *oyatu_renameA = nullptr;
    QAction *lineD = nullptr;
    QAction *oyatu_renameB = nullptr;
};

} // namespace kurubako
