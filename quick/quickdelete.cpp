#include "quick/quickdelete.h"

#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "quick/folderlisting.h"
#include "quick/quickhost.h"
#include "support/cfile.h"
#include "support/classfile.h"

#include <QSet>

namespace tavil::quick {

using platform::Attr::Archive;
using platform::Attr::Hidden;
using platform::Attr::ReadOnly;
using platform::Attr::System;

QString patternOfBox(const QString& text)
{
    return text.endsWith(u';') ? text.chopped(1) : text;
}

namespace {

constexpr std::array<quint32, kAttributeCount> kAttributeBits{Archive, ReadOnly, Hidden, System};

// Into the trash. It only ever moves the file: a failure leaves it where it
// was, never deleted for good instead.
void trashFile(QuickTools& t, const QString& path)
{
    if (!t.fs.exists(path)) {
        t.host.beep();
        t.dialogs.msgBox(texts::kNothingToDelete, texts::kDelFileTitle, platform::MsgStyle::Information);
        return;
    }
    (void)t.fs.moveToTrash(path);
}

// For good. Read-only, system and hidden are cleared first, as the program
// always has; a link carries none of them of its own, and clearing through it
// would change its target, so a link is only removed. A file that can't be
// removed gets its attributes back.
void removeFile(QuickTools& t, const QString& path)
{
    quint32 before = 0;
    const bool clear = !t.fs.stat(path).isSymlink && t.fs.readAttributes(path, &before).ok();
    if (clear) {
        t.file.setFileName(path);
        t.file.setReadOnly(false);
        t.file.setSystem(false);
        t.file.setHidden(false);
    }
    if (!t.fs.remove(path).ok() && clear)
        (void)t.fs.writeAttributes(path, before & ~platform::Attr::Directory);
}

void deleteFile(QuickTools& t, const DeleteParams& p, const QString& path)
{
    if (p.recycle)
        trashFile(t, path);
    else
        removeFile(t, path);
}

// Only a regular file that opens (without waiting on a FIFO) is deleted.
bool deletable(QuickTools& t, const QString& path)
{
    t.file.setFileName(path);
    return t.file.Enabled();
}

void byName(QuickTools& t, const DeleteParams& p, const QString& folder, const QStringList& listing)
{
    const QSet<QString> dropped(p.collection.cbegin(), p.collection.cend());
    t.host.setProgressMax(int(listing.size()));
    for (qsizetype j = 0; j < listing.size(); ++j) {
        const QString path = folder + listing.at(j);
        if (dropped.contains(path) && deletable(t, path))
            deleteFile(t, p, path);
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

void byAttributes(QuickTools& t, const DeleteParams& p)
{
    const qsizetype n = p.collection.size();
    t.host.setProgressMax(int(n));
    for (qsizetype i = 0; i < n; ++i) {
        const QString& path = p.collection.at(i);
        if (deletable(t, path) && attributesMatch(t, p, path))
            deleteFile(t, p, path);
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

void byDate(QuickTools& t, const DeleteParams& p)
{
    support::cFile times(t.fs);
    const qsizetype n = p.collection.size();
    t.host.setProgressMax(int(n));
    for (qsizetype i = 0; i < n; ++i) {
        const QString& path = p.collection.at(i);
        if (dateMatches(times, p, path) && deletable(t, path))
            deleteFile(t, p, path);
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
    switch (p.condition) {
    case DeleteCondition::Name:
        byName(t, p, folder, names);
        break;
    case DeleteCondition::Attributes:
        if (!anyTested(p)) {
            t.dialogs.msgBox(texts::kNoAttribute, texts::kDeleteTitle, platform::MsgStyle::Exclamation);
            return;
        }
        byAttributes(t, p);
        break;
    case DeleteCondition::Date:
        byDate(t, p);
        break;
    }
    t.host.setProgressValue(0);
    t.host.beep();
}

} // namespace tavil::quick
