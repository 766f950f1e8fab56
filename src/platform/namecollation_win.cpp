#include "namecollation.h"

#include <windows.h>

namespace kurubako {

// The key that CompareStringEx orders by, with the flags of QCollator's comparison.
NameSortKey NameCollation::sortKey(const QString &name) const
{
    const std::wstring locale = m_collator.locale().bcp47Name().toStdWString();
    const std::wstring text = name.toStdWString();
    const DWORD flags =
        LCMAP_SORTKEY | (m_collator.caseSensitivity() == Qt::CaseInsensitive ? NORM_IGNORECASE : 0);
    const int size =
        LCMapStringEx(locale.c_str(), flags, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr, 0);
    QByteArray key(size, '\0');
    // For LCMAP_SORTKEY the buffer holds bytes, however it is typed.
    LCMapStringEx(locale.c_str(), flags, text.c_str(), int(text.size()), reinterpret_cast<LPWSTR>(key.data()),
                  size, nullptr, nullptr, 0);
    return NameSortKey(std::move(key));
}

int NameSortKey::compare(const NameSortKey &other) const
{
    return m_bytes.compare(other.m_bytes);
}

} // namespace kurubako
