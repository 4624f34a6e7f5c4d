#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The rules of the selected-files lists that need no widget: where the sorted
// list puts a new entry, which names an add takes, what the answer to "insert
// several" means, where the equal-interval SKIP rows go.
namespace tavil::mainwin::lists {

// A list holds at most this many entries (its counts and indexes are 16-bit);
// an insertion beyond it fails.
inline constexpr int kMaxEntries = 32767;

// The order of the sorted list: case-insensitive, as the old sorted list box.
int compareEntries(const QString& a, const QString& b);

// Where each of `names`, added in turn without a position, lands in the
// sorted list that holds `entries`: before the first entry that is greater,
// so after its equals. The list need not be in order (moves and SKIP rows
// disorder it): the rule looks at the entries as they stand. The index of
// each name counts the names placed before it.
QList<int> sortedAddPlaces(const QStringList& entries, const QStringList& names);

// The names an add takes, in order: those of `candidates` that equal no
// entry of the list as it was before the add (exact comparison; SKIP rows are
// entries like any other), and no more than `room`.
QStringList namesToAdd(const QStringList& before, const QStringList& candidates, int room);

// The entry selected after a removal: the focused index k when it is still
// within the list, else the new last entry; -1 (none) for an empty list or
// when nothing had the focus.
int rowAfterRemoval(int focused, int countAfter);

// Which of the popup's order entries a list allows: up and down need another
// entry on that side of the focused one, reversing needs two entries.
struct OrderEntries {
    bool up = false;
    bool down = false;
    bool reverse = false;
};
OrderEntries orderEntriesFor(int count, int focused);

// The answer to "insert several".
struct SkipAnswer {
    enum class Kind {
        Nothing,  // empty (also Cancel), "0", or a number below 1
        Insert,   // insert `rows` SKIP rows
        AskAgain, // not a number: the question comes again
        Stop,     // a number beyond 32 bits: the entry ends without a message
    };
    Kind kind = Kind::Nothing;
    qint32 rows = 0;
};
SkipAnswer readSkipAnswer(const QString& answer);

// Equal intervals: after every `every` of the `entries` former entries a group
// of `rows` SKIP rows, never before the first entry. Each group is inserted,
// row by row, at its index in the list as it stands by then.
struct SkipGroup {
    qint64 index = 0;
    qint64 rows = 0;
};
// Empty when every < 1, rows < 1 or entries < every.
QList<SkipGroup> equalIntervalGroups(qint64 entries, qint64 every, qint64 rows);

} // namespace tavil::mainwin::lists
