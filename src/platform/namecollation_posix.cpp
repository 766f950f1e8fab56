#include "namecollation.h"

namespace kurubako {

NameSortKey NameCollation::sortKey(const QString &name) const
{
    return NameSortKey(m_collator.sortKey(name));
}

int NameSortKey::compare(const NameSortKey &other) const
{
    return m_collatorKey->compare(*other.m_collatorKey);
}

} // namespace kurubako
