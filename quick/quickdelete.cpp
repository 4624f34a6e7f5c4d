#include "quick/quickdelete.h"

#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/gui/delfile.h"
#include "quick/folderlisting.h"
#include "quick/quickhost.h"
#include "support/cfile.h"
#include "support/classfile.h"

#include <QSet>

#include <cerrno>

namespace tavil::quick {

using platform::Attr::Archive;
using platform::Attr::Hidden;
using platform::Attr::ReadOnly;
using platform::Attr::System;

QString texts::trashStayedText(int tooLong, int unusable)
{
    QString text = QStringLiteral(u"ゴミ箱へ移せなかった %1 個のファイルは削除されずに残っています。").arg(tooLong + unusable);
    if (tooLong > 0)
        text += QStringLiteral(u"\r\nファイル名が長すぎてゴミ箱に記録できないもの: %1 個").arg(tooLong);
    if (unusable > 0)
        text += QStringLiteral(u"\r\nゴミ箱が使えない場所にあるもの: %1 個").arg(unusable);
    return text;
}

QString patternOfBox(const QString& text)
{
    return text.endsWith(u';') ? text.chopped(1) : text;
}

namespace {

constexpr std::array<quint32, kAttributeCount> kAttributeBits{Archive, ReadOnly, Hidden, System};

// What stayed behind because the trash would not take it.
struct Stayed {
    int tooLong = 0;  // the name does not fit the trash's record of it
    int unusable = 0; // no trash for that place, or one that can't be used
};

// Into the trash. It only ever moves the file: a failure leaves it where it
// was, never deleted for good instead.
void trashFile(QuickTools& t, const QString& path, Stayed& stayed)
{
    platform::FsStatus why;
    if (platform::DelFile(t.fs, t.dialogs, t.desktop, path, &why) || why.err == platform::Err::NotFound)
        return; // a file gone meanwhile has not stayed
    if (why.sysErrno == ENAMETOOLONG)
        ++stayed.tooLong;
    else
        ++stayed.unusable;
}

// For good. Deleting needs only the folder's permission, so the file's own
// mode and attributes are left alone: a second hard link elsewhere keeps
// them, and a link's target is never reached.
void removeFile(QuickTools& t, const QString& path)
{
    (void)t.fs.remove(path);
}

void deleteFile(QuickTools& t, const DeleteParams& p, const QString& path, Stayed& stayed)
{
    if (p.recycle)
        trashFile(t, path, stayed);
    else
        removeFile(t, path);
}

// Only a regular file that opens (without waiting on a FIFO) is deleted.
bool deletable(QuickTools& t, const QString& path)
{
    t.file.setFileName(path);
    return t.file.Enabled();
}

void byName(QuickTools& t, const DeleteParams& p, const QString& folder, const QStringList& listing, Stayed& stayed)
{
    const QSet<QString> dropped(p.collection.cbegin(), p.collection.cend());
    t.host.setProgressMax(int(listing.size()));
    for (qsizetype j = 0; j < listing.size(); ++j) {
        const QString path = folder + listing.at(j);
        if (dropped.contains(path) && deletable(t, path))
            deleteFile(t, p, path, stayed);
        t.host.setProgressValue(int(j));
    }
}

bool attributesMatch(QuickTools& t, const DeleteParams& p, const QString& path)
{
    quint32 attrs = 0;
    if (!t.fs.readAttributes(path, &attrs).ok())
        return false; // unread attributes match nothing
    int tested = 0, matched = 0;
    for (int i = 0; i < kAttributeCount; ++i) {
        if (!p.tested[i])
            continue;
        ++tested;
        if (((attrs & kAttributeBits[i]) != 0) == p.wanted[i]) {
            if (p.anyAttribute)
                return true;
            ++matched;
        }
    }
    return !p.anyAttribute && tested > 0 && matched == tested;
}

void byAttributes(QuickTools& t, const DeleteParams& p, Stayed& stayed)
{
    const qsizetype n = p.collection.size();
    t.host.setProgressMax(int(n));
    for (qsizetype i = 0; i < n; ++i) {
        const QString& path = p.collection.at(i);
        if (deletable(t, path) && attributesMatch(t, p, path))
            deleteFile(t, p, path, stayed);
        t.host.setProgressValue(int(i));
    }
}

bool dateMatches(support::cFile& times, const DeleteParams& p, const QString& path)
{
    QDateTime creation, lastAccess, lastWrite;
    if (!times.GetFileTimeStamp(path, creation, lastAccess, lastWrite))
        return false;
    const QDateTime& stamp = p.stamp == DateStamp::Creation   ? creation
                           : p.stamp == DateStamp::LastAccess ? lastAccess
                                                              : lastWrite;
    // A file system that keeps no birth time gives none: unknown is never
    // older or newer.
    if (!stamp.isValid() || !p.moment.isValid())
        return false;
    return p.newer ? stamp > p.moment : stamp < p.moment;
}

void byDate(QuickTools& t, const DeleteParams& p, Stayed& stayed)
{
    support::cFile times(t.fs);
    const qsizetype n = p.collection.size();
    t.host.setProgressMax(int(n));
    for (qsizetype i = 0; i < n; ++i) {
        const QString& path = p.collection.at(i);
        if (dateMatches(times, p, path) && deletable(t, path))
            deleteFile(t, p, path, stayed);
        t.host.setProgressValue(int(i));
    }
}

bool anyTested(const DeleteParams& p)
{
    for (const bool tested : p.tested) {
        if (tested)
            return true;
    }
    return false;
}

} // namespace

void deleteByConditions(QuickTools& t, const DeleteParams& p)
{
    if (p.collection.isEmpty())
        return;
    if (t.dialogs.msgBox(texts::kDeleteQuestion, texts::kDeleteTitle, platform::MsgStyle::YesNoQuestion)
        != platform::MsgButton::Yes)
        return;

    FolderListing listing;
    listing.setPath(p.folder);
    listing.setPattern(p.pattern);
    const QStringList names = listing.names(t.fs);
    if (names.isEmpty())
        return;
    const QString folder = p.folder.endsWith(u'/') ? p.folder : p.folder + u'/';

    // An early stop leaves the progress display as it was.
    Stayed stayed;
    switch (p.condition) {
    case DeleteCondition::Name:
        byName(t, p, folder, names, stayed);
        break;
    case DeleteCondition::Attributes:
        if (!anyTested(p)) {
            t.dialogs.msgBox(texts::kNoAttribute, texts::kDeleteTitle, platform::MsgStyle::Exclamation);
            return;
        }
        byAttributes(t, p, stayed);
        break;
    case DeleteCondition::Date:
        byDate(t, p, stayed);
        break;
    }
    t.host.setProgressValue(0);
    t.host.beep();
    if (stayed.tooLong + stayed.unusable > 0)
        t.dialogs.msgBox(texts::trashStayedText(stayed.tooLong, stayed.unusable), texts::kDeleteTitle,
                         platform::MsgStyle::Exclamation);
}

} // namespace tavil::quick
