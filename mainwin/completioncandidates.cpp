#include "mainwin/completioncandidates.h"

namespace tavil::mainwin::completion {

QStringList ownEntriesLookedAt(const QStringList& items, OwnList rule)
{
    switch (rule) {
    case OwnList::None:
        return {};
    case OwnList::First:
        return {items.isEmpty() ? QString() : items.first()};
    case OwnList::All:
        return items;
    }
    return {};
}

QStringList candidates(const QString& typed, const QStringList& ownLookedAt, const QStringList& historyOldestFirst)
{
    QStringList offers;
    if (typed.isEmpty())
        return offers;
    for (const QString& entry : ownLookedAt) {
        if (entry.startsWith(typed, Qt::CaseSensitive))
            offers.append(entry);
    }
    for (auto it = historyOldestFirst.crbegin(); it != historyOldestFirst.crend(); ++it) {
        if (it->startsWith(typed, Qt::CaseSensitive) && !ownLookedAt.contains(*it, Qt::CaseSensitive))
            offers.append(*it);
    }
    return offers;
}

} // namespace tavil::mainwin::completion
