#pragma once

#include <QString>
#include <QStringList>

// What the completion popup offers for a box, apart from any widget.
namespace tavil::mainwin::completion {

// How much of a box's own list is offered: none of it, its first entry only,
// or every entry.
enum class OwnList { None, First, All };

// The entries of a box's list that are looked at. "First" of an empty list
// looks at one empty text, as the list's first entry reads then.
QStringList ownEntriesLookedAt(const QStringList& items, OwnList rule);

// The entries that begin with typed (the box's whole text, compared exactly,
// letter case included): first the own-list entries looked at, in their
// order, then the history, newest first (history is given oldest first, as
// it is stored), leaving out a history entry equal to an own-list entry
// looked at. Nothing for an empty typed text.
QStringList candidates(const QString& typed, const QStringList& ownLookedAt, const QStringList& historyOldestFirst);

} // namespace tavil::mainwin::completion
