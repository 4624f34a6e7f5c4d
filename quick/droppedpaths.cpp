#include "quick/droppedpaths.h"

#include "platform/fsname.h"
#include "support/namesort.h"

#include <QMimeData>
#include <QSet>
#include <QUrl>

namespace tavil::quick {

namespace {

// QUrl::toLocalFile decodes the path as UTF-8 and loses bytes that are not;
// the path's percent-encoded form still has every byte.
QString rawLocalPath(const QUrl& url)
{
    if (!url.isLocalFile())
        return {};
    const QString host = url.host();
    if (!host.isEmpty() && host != QStringLiteral("localhost"))
        return {};
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!bytes.startsWith('/'))
        return {};
    return platform::nameFromBytes(bytes);
}

} // namespace

QStringList droppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    const QList<QUrl> urls = data->urls();
    paths.reserve(urls.size());
    for (const QUrl& url : urls) {
        const QString path = rawLocalPath(url);
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

void addToCollection(QStringList& collection, const QStringList& batch)
{
    // One drop can name a path twice, and the collection may hold it already;
    // a second entry would make the operations act on a name that is gone.
    QSet<QString> held(collection.cbegin(), collection.cend());
    held.reserve(collection.size() + batch.size());
    const qsizetype before = collection.size();
    for (const QString& path : batch) {
        if (!held.contains(path)) {
            held.insert(path);
            collection.append(path);
        }
    }
    if (collection.size() == before)
        return;
    support::sortNamesIgnoringCase(collection, before);
}

} // namespace tavil::quick
