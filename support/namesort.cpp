#include "support/namesort.h"

#include <QChar>

#include <algorithm>
#include <string_view>
#include <thread>
#include <vector>

namespace tavil::support {

namespace {

// Below this many names one thread sorts them all; a folder of 100,000
// files is shared out, so that choosing it keeps within what a user waits
// for.
constexpr size_t kSpreadFrom = 16384;

// The folded names, one after another in one buffer: one allocation for a
// whole folder, rather than one a name.
struct Keys {
    std::vector<char16_t> text;
    std::vector<size_t> starts; // one more than there are names

    std::u16string_view at(qsizetype i) const
    {
        return {text.data() + starts[size_t(i)], starts[size_t(i) + 1] - starts[size_t(i)]};
    }
};

Keys foldedKeys(const QStringList& names)
{
    Keys keys;
    size_t total = 0;
    for (const QString& name : names)
        total += size_t(name.size());
    keys.text.reserve(total);
    keys.starts.reserve(size_t(names.size()) + 1);
    for (const QString& name : names) {
        keys.starts.push_back(keys.text.size());
        const qsizetype n = name.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = name[i].unicode();
            if (c < 0x80) {
                keys.text.push_back(c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c);
            } else if (QChar::isHighSurrogate(c) && i + 1 < n && name[i + 1].isLowSurrogate()) {
                const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, name[i + 1].unicode()));
                keys.text.push_back(QChar::highSurrogate(folded));
                keys.text.push_back(QChar::lowSurrogate(folded));
                ++i;
            } else {
                // A lone surrogate (a byte of a name that is not UTF-8) has no case.
                keys.text.push_back(QChar::toCaseFolded(c));
            }
        }
    }
    keys.starts.push_back(keys.text.size());
    return keys;
}

} // namespace

void sortNamesIgnoringCase(QStringList& names, qsizetype alreadySorted)
{
    const size_t count = size_t(names.size());
    const size_t first = size_t(std::clamp<qsizetype>(alreadySorted, 0, names.size()));
    if (count < 2 || first == count)
        return;
    const Keys keys = foldedKeys(names);
    std::vector<qsizetype> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = qsizetype(i);
    const auto before = [&keys, &names](qsizetype a, qsizetype b) {
        const int c = keys.at(a).compare(keys.at(b));
        return c != 0 ? c < 0 : names.at(a) < names.at(b);
    };

    // The names not in order yet, [first, count).
    const size_t tail = count - first;
    const auto at = [&order, first](size_t i) { return order.begin() + qsizetype(first + i); };
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t parts = tail < kSpreadFrom ? 1 : std::min<size_t>(8, cores);
    if (parts == 1) {
        std::sort(at(0), at(tail), before);
    } else {
        // Each part sorted on its own thread, then the sorted runs merged in
        // pairs until one is left.
        const size_t step = (tail + parts - 1) / parts;
        std::vector<std::thread> threads;
        for (size_t from = step; from < tail; from += step)
            threads.emplace_back([&at, &before, from, end = std::min(from + step, tail)] {
                std::sort(at(from), at(end), before);
            });
        std::sort(at(0), at(std::min(step, tail)), before);
        for (std::thread& t : threads)
            t.join();
        for (size_t width = step; width < tail; width *= 2) {
            for (size_t from = 0; from + width < tail; from += 2 * width)
                std::inplace_merge(at(from), at(from + width), at(std::min(from + 2 * width, tail)), before);
        }
    }
    if (first > 0)
        std::inplace_merge(order.begin(), at(0), order.end(), before);

    QStringList sorted;
    sorted.reserve(names.size());
    for (const qsizetype i : order)
        sorted.append(names.at(i));
    names = std::move(sorted);
}

} // namespace tavil::support
