#include "mainwin/listrules.h"

#include "engine/numbers.h"

#include <QSet>

#include <algorithm>

namespace tavil::mainwin::lists {

int compareEntries(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

QList<int> sortedAddPlaces(const QStringList& entries, const QStringList& names)
{
    // "The first entry greater than x" is also the first place where the
    // running maximum of the entries is greater than x, and the running
    // maximum never falls: a binary search over it finds the same place as a
    // walk from the top, also in a list that moves have disordered. A name
    // put in at that place is itself the running maximum there, and the
    // maxima after it stay as they were.
    QStringList runningMax;
    runningMax.reserve(entries.size() + names.size());
    for (const QString& e : entries) {
        if (runningMax.isEmpty() || compareEntries(e, runningMax.constLast()) > 0)
            runningMax.append(e);
        else
            runningMax.append(runningMax.constLast());
    }
    QList<int> places;
    places.reserve(names.size());
    for (const QString& name : names) {
        const auto it = std::upper_bound(runningMax.cbegin(), runningMax.cend(), name,
                                         [](const QString& x, const QString& m) { return compareEntries(x, m) < 0; });
        const auto place = static_cast<int>(it - runningMax.cbegin());
        runningMax.insert(place, name);
        places.append(place);
    }
    return places;
}

QStringList namesToAdd(const QStringList& before, const QStringList& candidates, int room)
{
    const QSet<QString> held(before.cbegin(), before.cend());
    QStringList taken;
    for (const QString& name : candidates) {
        if (taken.size() >= room)
            break;
        if (!held.contains(name))
            taken.append(name);
    }
    return taken;
}

int rowAfterRemoval(int focused, int countAfter)
{
    if (focused < 0 || countAfter <= 0)
        return -1;
    return std::min(focused, countAfter - 1);
}

OrderEntries orderEntriesFor(int count, int focused)
{
    OrderEntries e;
    if (count > 1) {
        e.up = focused > 0;
        e.down = focused < count - 1;
        e.reverse = true;
    }
    return e;
}

SkipAnswer readSkipAnswer(const QString& answer)
{
    if (answer.isEmpty() || answer == u"0")
        return {};
    qint32 whole = 0;
    switch (engine::wholePartOf(answer, &whole)) {
    case platform::Err::None:
        break;
    case platform::Err::TypeMismatch:
        return {SkipAnswer::Kind::AskAgain, 0};
    default:
        return {SkipAnswer::Kind::Stop, 0};
    }
    if (whole < 1)
        return {};
    return {SkipAnswer::Kind::Insert, whole};
}

QList<SkipGroup> equalIntervalGroups(qint64 entries, qint64 every, qint64 rows)
{
    QList<SkipGroup> groups;
    if (every < 1 || rows < 1)
        return groups;
    for (qint64 k = 1; k <= entries / every; ++k)
        groups.append({k * every + (k - 1) * rows, rows});
    return groups;
}

} // namespace tavil::mainwin::lists
