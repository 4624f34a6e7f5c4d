#pragma once

#include <QStringList>

namespace tavil::support {

// Sorts names as the browser's lists show them: letter case aside (each
// character case-folded), then, for names that differ only in case, by
// their own text, so the order never depends on the order read from disk.
// A big list is sorted on several threads. Each name is folded once, not at
// every comparison. The first alreadySorted names are taken to be in that
// order already: the rest are sorted and merged in among them.
void sortNamesIgnoringCase(QStringList& names, qsizetype alreadySorted = 0);

} // namespace tavil::support
