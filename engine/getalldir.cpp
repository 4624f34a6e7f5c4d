#include "engine/getalldir.h"

#include "engine/runcontext.h"
#include "platform/filesystem.h"
#include "platform/names.h"
#include "support/module1.h"

#include <QList>
#include <QSet>

#include <utility>

namespace tavil::engine {

namespace {
const QString kPanelPrefix = QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ");
const QString kPanelSuffix = QStringLiteral("...");
constexpr int kStatusWidth = 56;
constexpr int kAnimateEvery = 20;

// "" → "検" → "検索" → "検索中" → "" ...
QString nextAnimation(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral(u"検");
    if (text == u"検")
        return QStringLiteral(u"検索");
    if (text == u"検索")
        return QStringLiteral(u"検索中");
    return {};
}

bool isWalkedFolder(const platform::DirEntry& entry)
{
    // isDir is false for a symbolic link, whatever it points at.
    return entry.isDir && !entry.isSymlink && !entry.isHidden && !entry.isSystem;
}

using SeenKey = std::pair<quint64, quint64>;

// False when the folder was met before (or cannot be looked at any more);
// id receives the folder the path leads to.
bool firstVisit(platform::FileSystem& fs, const QString& path, QSet<SeenKey>& seen, platform::FolderId* id)
{
    *id = fs.folderId(path);
    if (!id->valid)
        return false;
    const SeenKey key{id->device, id->inode};
    if (seen.contains(key))
        return false;
    seen.insert(key);
    return true;
}
} // namespace

QStringList GetAllDir(const QString& root, platform::FileSystem& fs, RunHost& host,
                      QList<platform::FolderId>* ids)
{
    using support::Module1::ShortenPath;

    const QString rootPath = platform::withTrailingSeparator(root);
    QStringList found; // the queue: every folder found, without a closing "/"
    QList<platform::FolderId> foundIds;
    QSet<SeenKey> seen;
    platform::FolderId rootId;
    platform::FolderId id;
    firstVisit(fs, rootPath, seen, &rootId);

    host.setStatus(1, QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索中..."));

    // The root pass: only the animation, no pause.
    QList<platform::DirEntry> entries;
    if (fs.listDir(rootPath, &entries).ok()) {
        QString animation;
        int counter = 0;
        for (const platform::DirEntry& entry : std::as_const(entries)) {
            if (entry.isHidden || entry.isSystem)
                continue; // such entries are not listed at all
            if (isWalkedFolder(entry) && firstVisit(fs, rootPath + entry.name, seen, &id)) {
                found.append(rootPath + entry.name);
                foundIds.append(id);
            }
            if (++counter == kAnimateEvery) {
                counter = 0;
                animation = nextAnimation(animation);
                host.setStatus(1, kPanelPrefix + animation + kPanelSuffix);
            }
        }
    }

    // Breadth first: every folder found is read in turn, and what it holds
    // joins the end of the queue.
    for (qsizetype i = 0; i < found.size(); ++i) {
        const QString path = platform::withTrailingSeparator(found[i]);
        host.setStatus(2, ShortenPath(platform::visibleName(path), kStatusWidth));
        entries.clear();
        if (fs.listDir(path, &entries).ok()) { // vanished or unreadable: passed over
            for (const platform::DirEntry& entry : std::as_const(entries)) {
                if (!isWalkedFolder(entry) || !firstVisit(fs, path + entry.name, seen, &id))
                    continue;
                found.append(path + entry.name);
                foundIds.append(id);
                host.setStatus(2, ShortenPath(platform::visibleName(path + entry.name), kStatusWidth));
            }
        }
        host.processEvents();
    }

    QStringList result;
    result.reserve(found.size() + 1);
    result.append(rootPath);
    result.append(found);
    if (ids != nullptr) {
        ids->clear();
        ids->reserve(result.size());
        ids->append(rootId);
        ids->append(foundIds);
    }
    host.setStatus(1, QString());
    host.setStatus(2, QString());
    return result;
}

} // namespace tavil::engine
