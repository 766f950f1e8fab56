#pragma once

#include "snacks/snackname.h"

#include <QAbstractListModel>
#include <QListView>

#include <memory>

class QMimeData;

namespace kurubako {

// The snacks of one set, in the order of the scan.
class SnackListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setSnacks(QList<Snack> snacks);
    const QList<Snack> &snacks() const { return m_snacks; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Brings the rows to `snacks`, sorted as the scan sorts them, by removing the rows of
    // snacks that are gone and inserting the new ones: every other row stays, with its
    // selection and the current item.
    void updateSnacks(QList<Snack> snacks);

private:
    QList<Snack> m_snacks;
};

// A snack list: extended selection, kept in the model's order. Only the left button selects
// and double-clicks. A right-button press leaves the selection alone and asks for the list's
// pop-up menu, as the Menu key and Shift+F10 do at the current item. The selection shows in
// the highlight colour whether or not the list has the focus, and a name too wide for the
// list shows whole as its item's tooltip. The selected snacks can be dragged to the other
// list of the window, and a double-click counts anywhere in the list, on an item or not.
class SnackListView final : public QListView
{
    Q_OBJECT

public:
    explicit SnackListView(QWidget *parent = nullptr);

    SnackListModel *snackModel() const { return m_model; }

    // The selected snacks, from the top of the list down.
    QList<Snack> selectedSnacks() const;
    qsizetype selectedCount() const;
    // Selects every item (true) or none (false) in one step.
    void setAllSelected(bool selected);
    // The snack of the item that holds the list's focus, whether selected or not.
    std::optional<Snack> currentSnack() const;

    // Takes drops of the snacks dragged from `other`, and of no other drag.
    void acceptDropsFrom(const SnackListView *other);
    // What a drag of this list's selection carries: a mark of this list under a type of the
    // program's own. The snacks themselves are the list's selection when the drop lands.
    std::unique_ptr<QMimeData> createDragData() const;

Q_SIGNALS:
    void menuRequested(const QPoint &globalPos);
    // A left-button double-click anywhere in the list.
    void listDoubleClicked();
    // The other list's selected snacks were dropped here; sent once the drag has ended.
    void dropRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

public:
    // Shows `snacks` as updateSnacks does, the top of the view staying at the snack it showed.
    void updateSnacks(QList<Snack> snacks);

private:
    // Accepts a drag or drop of the snacks of the list that drops are taken from, and
    // refuses any other: true when accepted.
    bool takeDrop(QDropEvent *event) const;

    SnackListModel *m_model;
    const QByteArray m_dragMark; // tells this list's drags from all others, other programs' too
    const SnackListView *m_dropSource = nullptr;
};

} // namespace kurubako
