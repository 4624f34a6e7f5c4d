#include "mainwin/browserpaths.h"

#include "platform/fsname.h"

#include <QList>
#include <QMimeData>
#include <QStringList>

namespace tavil::mainwin::browserpaths {

std::optional<QString> normalFolder(const QString& folder)
{
    if (!folder.startsWith(u'/'))
        return std::nullopt;
    QList<QStringView> parts;
    for (QStringView part : QStringView(folder).split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    if (parts.isEmpty())
        return QStringLiteral("/");
    QString out;
    out.reserve(folder.size());
    for (QStringView part : std::as_const(parts)) {
        out += u'/';
        out += part;
    }
    return out;
}

std::optional<QString> localPath(const QUrl& url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    const QString host = url.host();
    if (!host.isEmpty() && host != u"localhost")
        return std::nullopt; // a file on another machine is not here
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (bytes.isEmpty())
        return std::nullopt;
    return platform::nameFromBytes(bytes);
}

std::optional<QString> firstDroppedPath(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        if (std::optional<QString> path = localPath(url))
            return path;
    }
    return std::nullopt;
}

QString cutAfterLastSeparator(const QString& path)
{
    const qsizetype last = path.lastIndexOf(u'/');
    return last < 0 ? path : path.left(last + 1);
}

} // namespace tavil::mainwin::browserpaths
