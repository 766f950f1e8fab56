#pragma once

#include <QByteArray>
#include <QCollator>

#include <optional>

namespace kurubako {

// A name's place in the order of the snack lists, made once and compared many times: far
// cheaper than collating pairs of names.
class NameSortKey
{
public:
    int compare(const NameSortKey &other) const;

private:
    friend class NameCollation;
    explicit NameSortKey(QCollatorSortKey key)
        : m_collatorKey(std::move(key))
    {
    }
    explicit NameSortKey(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
    }

    // Qt's key where it orders names as the collator does (through ICU); on Windows the
    // system's own key, compared byte by byte, since Qt compares that one two bytes at a time
    // as text and so out of order.
    std::optional<QCollatorSortKey> m_collatorKey;
    QByteArray m_bytes;
};

// The order of the snack lists: the collation of the user's locale (Japanese where the locale
// is C or POSIX) without regard to letter case. One collation serves one thread.
class NameCollation
{
public:
    NameCollation();

    NameSortKey sortKey(const QString &name) const;

private:
    QCollator m_collator;
};

} // namespace kurubako
