#include "platform/names.h"

namespace tavil::platform {

QString diskName(const QString& name)
{
    qsizetype end = name.size();
    while (end > 0 && (name[end - 1] == u'.' || name[end - 1] == u' '))
        --end;
    return name.left(end);
}

NameVerdict checkNewName(const QString& name)
{
    for (const QChar c : name) {
        if (c == u'/' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return NameVerdict::Bad;
    }
    const QString onDisk = diskName(name);
    if (onDisk.isEmpty() || onDisk == u"." || onDisk == u"..")
        return NameVerdict::LeaveAlone;
    return NameVerdict::Ok;
}

QString visibleName(const QString& name)
{
    QString out = name;
    for (QChar& ch : out) {
        if (ch.unicode() < 0x20)
            ch = QChar(char16_t(0x2400 + ch.unicode()));
        else if (ch.unicode() == 0x7F)
            ch = QChar(char16_t(0x2421));
    }
    return out;
}

QString joinPath(const QString& folder, const QString& name)
{
    return withTrailingSeparator(folder) + name;
}

QString withTrailingSeparator(const QString& folder)
{
    if (folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

} // namespace tavil::platform
