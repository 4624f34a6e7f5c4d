#pragma once

#include <QString>
#include <QStringList>

namespace tavil::platform {

// The "drives" of the program: the mounted volumes, each shown by its root
// path ("/" first).
class Volumes {
public:
    virtual ~Volumes() = default;
    virtual QStringList roots() = 0;
    // False for a volume that can't be read now (a disc drive without a disc).
    virtual bool isReady(const QString& root) = 0;
};

// The volumes of this machine that hold files (no proc, sysfs and the like).
class SystemVolumes final : public Volumes {
public:
    QStringList roots() override;
    bool isReady(const QString& root) override;
};

// The volume that holds path: the longest root that is a whole-part prefix
// of it ("/" when no other is).
QString volumeOf(const QStringList& roots, const QString& path);

} // namespace tavil::platform
