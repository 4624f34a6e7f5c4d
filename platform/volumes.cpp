#include "platform/volumes.h"

#include <QStorageInfo>

namespace tavil::platform {

QStringList SystemVolumes::roots()
{
    QStringList out{QStringLiteral("/")};
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& v : volumes) {
        if (!v.isValid() || v.rootPath().isEmpty())
            continue;
        const QByteArray type = v.fileSystemType();
        // Kernel views, not places where a user keeps files.
        static const char* const kSkipped[] = {"proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2",
                                               "securityfs", "debugfs", "tracefs", "pstore", "bpf",
                                               "mqueue", "hugetlbfs", "configfs", "fusectl", "autofs",
                                               "binfmt_misc", "efivarfs", "squashfs", "overlay", "nsfs"};
        bool skip = false;
        for (const char* t : kSkipped)
            skip = skip || type == t;
        if (skip || out.contains(v.rootPath()))
            continue;
        out.append(v.rootPath());
    }
    return out;
}

bool SystemVolumes::isReady(const QString& root)
{
    const QStorageInfo info(root);
    return info.isValid() && info.isReady();
}

QString volumeOf(const QStringList& roots, const QString& path)
{
    QString best = QStringLiteral("/");
    for (const QString& root : roots) {
        const bool under = root == u"/" || path == root
            || (path.startsWith(root) && (root.endsWith(u'/') || path.at(root.size()) == u'/'));
        if (under && root.size() > best.size())
            best = root;
    }
    return best;
}

} // namespace tavil::platform
