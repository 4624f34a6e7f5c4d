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
    // What every key begins with (the folder of dropped paths, say): it
    // decides nothing, so comparisons start after it.
    size_t common = 0;

    std::u16string_view at(qsizetype i) const
    {
        const size_t from = starts[size_t(i)] + common;
        return {text.data() + from, starts[size_t(i) + 1] - from};
    }
};

size_t commonPrefix(const Keys& keys)
{
    const size_t count = keys.starts.size() - 1;
    if (count < 2)
        return 0;
    const std::u16string_view first = keys.at(0);
    size_t common = first.size();
    for (size_t i = 1; i < count && common > 0; ++i) {
        const std::u16string_view other = keys.at(qsizetype(i));
        const size_t n = std::min(common, other.size());
        size_t k = 0;
        while (k < n && first[k] == other[k])
            ++k;
        common = k;
    }
    return common;
}

// Folds names[from, to) into their places in the buffer. A folded
// character keeps its length (a pair stays a pair), so every key has the
// length of its name and its place is known before it is made.
void foldInto(const QStringList& names, Keys& keys, size_t from, size_t to)
{
    for (size_t k = from; k < to; ++k) {
        const QString& name = names.at(qsizetype(k));
        const char16_t* in = reinterpret_cast<const char16_t*>(name.constData());
        char16_t* out = keys.text.data() + keys.starts[k];
        const qsizetype n = name.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = in[i];
            if (c < 0x80) {
                out[i] = c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c;
            } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
                const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, in[i + 1]));
                out[i] = QChar::highSurrogate(folded);
                out[i + 1] = QChar::lowSurrogate(folded);
                ++i;
            } else {
                // A lone surrogate (a byte of a name that is not UTF-8) has no case.
                out[i] = QChar::toCaseFolded(c);
            }
        }
    }
}

Keys foldedKeys(const QStringList& names, size_t parts)
{
    Keys keys;
    const size_t count = size_t(names.size());
    keys.starts.resize(count + 1);
    size_t total = 0;
    for (size_t k = 0; k < count; ++k) {
        keys.starts[k] = total;
        total += size_t(names.at(qsizetype(k)).size());
    }
    keys.starts[count] = total;
    keys.text.resize(total);
    if (parts == 1) {
        foldInto(names, keys, 0, count);
    } else {
        const size_t step = (count + parts - 1) / parts;
        std::vector<std::thread> threads;
        for (size_t from = step; from < count; from += step)
            threads.emplace_back([&names, &keys, from, end = std::min(from + step, count)] {
                foldInto(names, keys, from, end);
            });
        foldInto(names, keys, 0, std::min(step, count));
        for (std::thread& t : threads)
            t.join();
    }
    keys.common = commonPrefix(keys);
    return keys;
}

} // namespace

void sortNamesIgnoringCase(QStringList& names, qsizetype alreadySorted)
{
    const size_t count = size_t(names.size());
    const size_t first = size_t(std::clamp<qsizetype>(alreadySorted, 0, names.size()));
    if (count < 2 || first == count)
        return;
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t tail = count - first;
    const size_t parts = tail < kSpreadFrom ? 1 : std::min<size_t>(8, cores);
    const Keys keys = foldedKeys(names, count < kSpreadFrom ? 1 : std::min<size_t>(8, cores));
    std::vector<qsizetype> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = qsizetype(i);
    const auto before = [&keys, &names](qsizetype a, qsizetype b) {
        const int c = keys.at(a).compare(keys.at(b));
        return c != 0 ? c < 0 : names.at(a) < names.at(b);
    };

    // The names not in order yet, [first, count).
    const auto at = [&order, first](size_t i) { return order.begin() + qsizetype(first + i); };
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
