#include "quick/folderlisting.h"

#include "platform/filesystem.h"

#include <algorithm>

namespace tavil::quick {

namespace {

bool sameLetter(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// "*" any run of characters, "?" exactly one; iterative, with one point to
// come back to, so a long name can't make it slow.
bool globMatch(QStringView name, QStringView glob)
{
    qsizetype n = 0, g = 0;
    qsizetype starG = -1, starN = 0;
    while (n < name.size()) {
        if (g < glob.size() && glob[g] == u'*') {
            starG = g++;
            starN = n;
        } else if (g < glob.size() && (glob[g] == u'?' || sameLetter(glob[g], name[n]))) {
            ++g;
            ++n;
        } else if (starG >= 0) {
            g = starG + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == u'*')
        ++g;
    return g == glob.size();
}

bool matchesOne(const QString& name, QStringView glob)
{
    if (glob == u"*.*")
        return true;
    // "x.*" has always taken a name without any extension too.
    if (glob.endsWith(u".*") && globMatch(name, glob.chopped(2)))
        return true;
    return globMatch(name, glob);
}

} // namespace

bool matchesPattern(const QString& name, const QString& patterns)
{
    for (const QStringView part : QStringView(patterns).split(u';')) {
        const QStringView glob = part.trimmed();
        if (!glob.isEmpty() && matchesOne(name, glob))
            return true;
    }
    return false;
}

QStringList FolderListing::names(platform::FileSystem& fs) const
{
    QStringList out;
    if (m_path.isEmpty())
        return out;
    QList<platform::DirEntry> entries;
    if (!fs.listDir(m_path, &entries).ok())
        return out;
    for (const platform::DirEntry& entry : entries) {
        if (!entry.isDir && !entry.isHidden && !entry.isSystem && matchesPattern(entry.name, m_pattern))
            out.append(entry.name);
    }
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}

} // namespace tavil::quick
