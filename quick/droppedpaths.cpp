#include "quick/droppedpaths.h"

#include "platform/fsname.h"
#include "support/namesort.h"

#include <QMimeData>
#include <QUrl>

#include <algorithm>

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
    if (batch.isEmpty())
        return;
    const qsizetype before = collection.size();
    collection += batch;
    support::sortNamesIgnoringCase(collection, before);
    // One drop can name a path twice, and the collection may hold it already;
    // a second entry would make the operations act on a name that is gone.
    // In this order the same path lies next to itself.
    collection.erase(std::unique(collection.begin(), collection.end()), collection.end());
}

} // namespace tavil::quick
