#include "quick/folderlisting.h"

#include "platform/filesystem.h"
#include "support/pattern.h"

#include <algorithm>

namespace tavil::quick {

bool matchesPattern(const QString& name, const QString& patterns)
{
    // A box without any pattern takes nothing: deleting by an empty name
    // condition must never reach every file of the folder.
    bool any = false;
    for (const QStringView part : QStringView(patterns).split(u';'))
        any = any || !part.trimmed().isEmpty();
    return any && support::FilePattern(patterns).matches(name);
}

QStringList FolderListing::names(platform::FileSystem& fs) const
{
    const auto matches = [this](const QString& name) { return matchesPattern(name, m_pattern); };
    QStringList out;
    if (m_path.isEmpty())
        return out;
    QList<platform::DirEntry> entries;
    if (!fs.listDir(m_path, &entries).ok())
        return out;
    for (const platform::DirEntry& entry : entries) {
        if (!entry.isDir && !entry.isHidden && !entry.isSystem && matches(entry.name))
            out.append(entry.name);
    }
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}

} // namespace tavil::quick
