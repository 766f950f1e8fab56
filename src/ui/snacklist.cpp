#include "snacklist.h"

#include <QDrag>
#include <QHelpEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QUuid>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

const QString SnackDragType = u"application/x-kurubako-snacks"_s;

// What a drag shows beside the pointer: how many snacks it carries, drawn as a selected item.
QPixmap dragPixmap(const QString &text, const QWidget *list)
{
    const QFontMetrics metrics(list->font());
    const QSize size = metrics.size(Qt::TextSingleLine, text) + QSize(12, 6);
    const qreal ratio = list->devicePixelRatioF();
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(list->palette().color(QPalette::Active, QPalette::Highlight));
    QPainter painter(&pixmap);
    painter.setFont(list->font());
    painter.setPen(list->palette().color(QPalette::Active, QPalette::HighlightedText));
    painter.drawText(QRect(QPoint(), size), Qt::AlignCenter, text);
    painter.drawRect(QRect(QPoint(), size).adjusted(0, 0, -1, -1));
    return pixmap;
}

// Draws the items as in an active window, so that the selection keeps the highlight colour
// while the focus is elsewhere (a button, a message box); tells a name that does not fit
// whole in its tooltip.
class SnackItemDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem active = option;
        active.state |= QStyle::State_Active;
        QStyledItemDelegate::paint(painter, active, index);
    }

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString name = index.data(Qt::DisplayRole).toString();
        if (sizeHint(option, index).width() > view->viewport()->width())
            QToolTip::showText(event->globalPos(), name, view->viewport(), option.rect);
        else
            QToolTip::hideText();
        return true;
    }
};

} // namespace

void SnackListModel::setSnacks(QList<Snack> snacks)
{
    beginResetModel();
    m_snacks = std::move(snacks);
    endResetModel();
}

int SnackListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_snacks.size());
}

QVariant SnackListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return m_snacks.at(index.row()).name;
}

Qt::ItemFlags SnackListModel::flags(const QModelIndex &index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
}

SnackListView::SnackListView(QWidget *parent)
    : QListView(parent)
    , m_model(new SnackListModel(this))
    , m_dragMark(QUuid::createUuid().toRfc4122())
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setItemDelegate(new SnackItemDelegate(this));
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
    setDragEnabled(true);
}

QList<Snack> SnackListView::selectedSnacks() const
{
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QList<Snack> snacks;
    snacks.reserve(rows.size());
    for (const QModelIndex &row : std::as_const(rows))
        snacks.append(m_model->snacks().at(row.row()));
    return snacks;
}

qsizetype SnackListView::selectedCount() const
{
    return selectionModel()->selectedRows().size();
}

void SnackListView::setAllSelected(bool selected)
{
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    if (!selected) {
        selectionModel()->clearSelection();
        return;
    }
    const QItemSelection all(m_model->index(0), m_model->index(count - 1));
    selectionModel()->select(all, QItemSelectionModel::Select);
}

std::optional<Snack> SnackListView::currentSnack() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_model->snacks().at(current.row());
}

void SnackListView::acceptDropsFrom(const SnackListView *other)
{
    m_dropSource = other;
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

std::unique_ptr<QMimeData> SnackListView::createDragData() const
{
    auto data = std::make_unique<QMimeData>();
    data->setData(SnackDragType, m_dragMark);
    return data;
}

void SnackListView::startDrag(Qt::DropActions)
{
    const qsizetype count = selectedCount();
    if (count == 0)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(createDragData().release());
    drag->setPixmap(dragPixmap(QString::number(count) + u" 件のおやつ"_s, this));
    drag->setHotSpot(QPoint(-16, -8)); // below and right of the pointer, which hides none of it
    drag->exec(Qt::MoveAction);
}

bool SnackListView::takeDrop(QDropEvent *event) const
{
    if (!m_dropSource || event->mimeData()->data(SnackDragType) != m_dropSource->m_dragMark) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    return true;
}

void SnackListView::dragEnterEvent(QDragEnterEvent *event)
{
    takeDrop(event);
}

void SnackListView::dragMoveEvent(QDragMoveEvent *event)
{
    takeDrop(event);
}

void SnackListView::dropEvent(QDropEvent *event)
{
    // The move asks its question once the platform's drag has ended, not inside its loop.
    if (takeDrop(event))
        QMetaObject::invokeMethod(this, &SnackListView::dropRequested, Qt::QueuedConnection);
}

void SnackListView::mousePressEvent(QMouseEvent *event)
{
    switch (event->button()) {
    case Qt::LeftButton:
        QListView::mousePressEvent(event);
        return;
    case Qt::RightButton:
        event->accept();
        Q_EMIT menuRequested(event->globalPosition().toPoint());
        return;
    default: // the middle button and the others neither select nor move the focus
        event->accept();
        return;
    }
}

void SnackListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Menu
        || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        event->accept();
        const QRect item = visualRect(currentIndex());
        Q_EMIT menuRequested(viewport()->mapToGlobal(item.isValid() ? item.center() : QPoint()));
        return;
    }
    QListView::keyPressEvent(event);
}

void SnackListView::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu came with the right button's press or the key's, already.
    event->accept();
}

void SnackListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Only the left button double-clicks; another button's second press is a press like the first.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    QListView::mouseDoubleClickEvent(event);
    Q_EMIT listDoubleClicked();
}

void SnackListView::mouseMoveEvent(QMouseEvent *event)
{
    // Dragging with any button but the left one selects nothing.
    if (event->buttons() & ~Qt::MouseButtons(Qt::LeftButton))
        event->accept();
    else
        QListView::mouseMoveEvent(event);
}

void SnackListView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        QListView::mouseReleaseEvent(event);
    else
        event->accept();
}

} // namespace kurubako

namespace kurubako {

void SnackListModel::updateSnacks(QList<Snack> snacks)
{
    // A snack is its file. Both lists are in the scan's one total order, so the snacks kept
    // stand in the same order in both, and only runs of rows leave or come; and only between
    // the rows that both lists begin and end with, which are nearly all of them.
    const qsizetype shorter = std::min(m_snacks.size(), snacks.size());
    qsizetype head = 0;
    while (head < shorter && m_snacks.at(head).file == snacks.at(head).file)
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head
           && m_snacks.at(m_snacks.size() - 1 - tail).file == snacks.at(snacks.size() - 1 - tail).file)
        ++tail;
    const qsizetype newEnd = snacks.size() - tail;

    QSet<QByteArray> files;
    files.reserve(newEnd - head);
    for (qsizetype next = head; next < newEnd; ++next)
        files.insert(snacks.at(next).file);
    for (qsizetype end = m_snacks.size() - tail; end > head;) {
        if (files.contains(m_snacks.at(end - 1).file)) {
            --end;
            continue;
        }
        qsizetype begin = end - 1;
        while (begin > head && !files.contains(m_snacks.at(begin - 1).file))
            --begin;
        beginRemoveRows({}, int(begin), int(end - 1));
        m_snacks.remove(begin, end - begin);
        endRemoveRows();
        end = begin;
    }

    qsizetype keptEnd = m_snacks.size() - tail;
    qsizetype kept = head;
    for (qsizetype next = head; next < newEnd && kept < keptEnd; ++next) {
        if (snacks.at(next).file == m_snacks.at(kept).file)
            ++kept;
    }
    if (kept != keptEnd) {
        // Not in one order after all (never so within a run): shown afresh rather than wrong.
        setSnacks(std::move(snacks));
        return;
    }

    qsizetype row = head;
    for (qsizetype next = head; next < newEnd;) {
        if (row < keptEnd && m_snacks.at(row).file == snacks.at(next).file) {
            ++row;
            ++next;
            continue;
        }
        qsizetype end = next + 1;
        while (end < newEnd && (row == keptEnd || snacks.at(end).file != m_snacks.at(row).file))
            ++end;
        beginInsertRows({}, int(row), int(row + end - next - 1));
        m_snacks.insert(row, end - next, Snack{});
        // Copied: the scan's list may be shared, and is dropped after.
        std::copy(std::as_const(snacks).begin() + next, std::as_const(snacks).begin() + end,
                  m_snacks.begin() + row);
        endInsertRows();
        row += end - next;
        keptEnd += end - next;
        next = end;
    }
}

void SnackListView::updateSnacks(QList<Snack> snacks)
{
    const QPersistentModelIndex top = indexAt(QPoint(0, 0));
    m_model->updateSnacks(std::move(snacks));
    if (top.isValid())
        scrollTo(top, QAbstractItemView::PositionAtTop);
}

} // namespace kurubako
