#include "support/module1.h"

#include "platform/cp932.h"
#include "support/jamap.h"
#include "platform/settingsstore.h"
#include "support/settingsschema.h"

#include <algorithm>

namespace tavil::support::Module1 {

int GetDotPos(const QString& name)
{
    return static_cast<int>(name.lastIndexOf(u'.')) + 1;
}

QString GetBaseName(const QString& name)
{
    const int pos = GetDotPos(name);
    return pos >= 1 ? name.left(pos - 1) : name;
}

QString GetExtName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

namespace {

// The UTF-16 index where character k starts, counted from the front.
qsizetype charOffset(const QString& text, int k)
{
    qsizetype i = 0;
    for (int n = 0; n < k && i < text.size(); ++n)
        i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    return i;
}

// The UTF-16 index where the last k characters start.
qsizetype charOffsetFromBack(const QString& text, int k)
{
    qsizetype i = text.size();
    for (int n = 0; n < k && i > 0; ++n)
        i -= (i >= 2 && text[i - 1].isLowSurrogate() && text[i - 2].isHighSurrogate()) ? 2 : 1;
    return i;
}

} // namespace

int CharCount(const QString& text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++n)
        i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    return n;
}

QString CharLeft(const QString& text, int k)
{
    return k <= 0 ? QString() : text.left(charOffset(text, k));
}

QString CharRight(const QString& text, int k)
{
    return k <= 0 ? QString() : text.mid(charOffsetFromBack(text, k));
}

void ReplaceStr(QString& text, const QString& search, const QString& replacement)
{
    if (search.isEmpty())
        return; // would match at every position without end
    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(search, from);
        if (at < 0)
            return;
        text.replace(at, search.size(), replacement);
        from = at + replacement.size();
    }
}

QString ShortenPath(const QString& path, int width)
{
    if (path.size() <= 3)
        return path;
    qsizetype prevSep = path.indexOf(u'/'); // from 0; the folder before it is kept
    if (prevSep < 0)
        return path; // no folder to replace

    // Folders are replaced from the left. The "..." goes where the folder
    // sits in the result (its place in the path moved by the earlier
    // replacements), never at an earlier text that merely equals it: a folder
    // "." or ".." would otherwise eat into a "..." already there.
    const QString dots = QStringLiteral("...");
    QString result = path;
    qsizetype shift = 0; // index in result minus index in path
    for (qsizetype i = prevSep + 1; i < path.size(); ++i) {
        if (platform::cp932ByteWidth(result) <= width)
            return result;
        if (path[i] != u'/')
            continue;
        const qsizetype segLen = i - prevSep - 1;
        if (segLen > 0) { // "//" holds no folder to shorten
            result.replace(prevSep + 1 + shift, segLen, dots);
            shift += dots.size() - segLen;
        }
        prevSep = i;
    }
    return result;
}

namespace {

constexpr char16_t kVoicedMark = u'ﾞ';     // U+FF9E
constexpr char16_t kSemiVoicedMark = u'ﾟ'; // U+FF9F

QString lookUp(const QString& letter, std::u16string_view letters, std::u16string_view forms)
{
    if (letter.size() != 1)
        return letter;
    const std::size_t at = letters.find(letter[0].unicode());
    return at == std::u16string_view::npos ? letter : QString(QChar(forms[at]));
}

// One pass: each mark that follows a letter with a form in the table joins
// it. The letter is taken from the pass's input, so a mark after another
// mark, or at the start, stays as it is.
QString joinPass(const QString& input, char16_t mark, QString (*toForm)(const QString&))
{
    QString output;
    output.reserve(input.size());
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (input[i] != mark) {
            output.append(input[i]);
            continue;
        }
        if (i > 0) {
            const QString letter(input[i - 1]);
            const QString form = toForm(letter);
            if (form != letter) {
                // The letter was appended one step before: put the form in
                // its place.
                output.chop(1);
                output.append(form);
                continue;
            }
        }
        output.append(input[i]);
    }
    return output;
}

} // namespace

QString ToDakuon(const QString& letter)
{
    return lookUp(letter, kVoicedBase, kVoiced);
}

QString ToHandakuon(const QString& letter)
{
    return lookUp(letter, kSemiVoicedBase, kSemiVoiced);
}

QString JoinKanaMarks(const QString& text)
{
    return joinPass(joinPass(text, kVoicedMark, &ToDakuon), kSemiVoicedMark, &ToHandakuon);
}


namespace {

QString entryKey(const QString& prefix, int index)
{
    return prefix + QString::number(index);
}

// The stored count: missing or not a number reads as 0, and a count that an
// outside edit pushed past the capacity (or below 0) is held to what the list
// can hold.
int readCount(platform::SettingsStore& store, const QString& section, int capacity)
{
    bool ok = false;
    const int count = store.read(section, QString::fromLatin1(settings::kCountKey)).trimmed().toInt(&ok);
    return ok ? std::clamp(count, 0, capacity) : 0;
}

void writeCount(platform::SettingsStore& store, const QString& section, int count)
{
    store.write(section, QString::fromLatin1(settings::kCountKey), QString::number(count));
}

// A count stored as an empty text becomes "0" before anything else happens.
void repairEmptyCount(platform::SettingsStore& store, const QString& section)
{
    const std::optional<QString> stored = store.value(section, QString::fromLatin1(settings::kCountKey));
    if (stored && stored->isEmpty())
        writeCount(store, section, 0);
}

// Adds a text to an input history: a text already held moves to the newest
// end, a new one is appended, dropping the oldest when the history is full.
void addHistory(platform::SettingsStore& store, const QString& section, const QString& prefix,
                const QString& text)
{
    const QStringList entries = ReadStoredList(store, section, prefix, kHistoryCapacity);
    const int count = static_cast<int>(entries.size());
    const int match = static_cast<int>(entries.indexOf(text));
    if (match >= 0) {
        if (match == count - 1)
            return; // already the newest
        for (int j = match; j < count - 1; ++j)
            store.write(section, entryKey(prefix, j), entries[j + 1]);
        store.write(section, entryKey(prefix, count - 1), text);
        return;
    }
    if (count < kHistoryCapacity) {
        store.write(section, entryKey(prefix, count), text);
        writeCount(store, section, count + 1);
        return;
    }
    for (int j = 0; j < kHistoryCapacity - 1; ++j)
        store.write(section, entryKey(prefix, j), entries[j + 1]);
    store.write(section, entryKey(prefix, kHistoryCapacity - 1), text);
    writeCount(store, section, kHistoryCapacity);
}

} // namespace

QStringList ReadStoredList(platform::SettingsStore& store, const QString& section,
                           const QString& prefix, int capacity)
{
    const int count = readCount(store, section, capacity);
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries.append(store.read(section, entryKey(prefix, i)));
    return entries;
}

void AddDirHistory(platform::SettingsStore& store, const QString& folder,
                   const std::function<void(int index, const QString& caption)>& showItem)
{
    const QString section = QString::fromLatin1(settings::Dir::Section);
    const QString prefix = QString::fromLatin1(settings::Dir::Prefix);
    QStringList entries = ReadStoredList(store, section, prefix, kDirCapacity);
    if (entries.contains(folder))
        return; // a known folder keeps its place

    if (entries.size() == kDirCapacity)
        entries.removeFirst();
    entries.append(folder);
    for (int i = 0; i < entries.size(); ++i) {
        store.write(section, entryKey(prefix, i), entries[i]);
        if (showItem)
            showItem(i, entries[i]);
    }
    writeCount(store, section, static_cast<int>(entries.size()));
}

void AddPattHistory(platform::SettingsStore& store, QString& text, const QStringList& boxItems)
{
    const QString section = QString::fromLatin1(settings::TempPatt::Section);
    repairEmptyCount(store, section);
    if (text.endsWith(u';'))
        text.chop(1);
    // A lone ";" leaves nothing worth offering again.
    if (text.isEmpty() || boxItems.contains(text))
        return;
    addHistory(store, section, QString::fromLatin1(settings::TempPatt::Prefix), text);
}

void AddExpHistory(platform::SettingsStore& store, const QString& text, const QStringList& boxItems)
{
    const QString section = QString::fromLatin1(settings::TempExp::Section);
    repairEmptyCount(store, section);
    if (text.isEmpty() || boxItems.contains(text))
        return;
    addHistory(store, section, QString::fromLatin1(settings::TempExp::Prefix), text);
}

void AddNameHistory(platform::SettingsStore& store, const QString& text)
{
    const QString section = QString::fromLatin1(settings::TempName::Section);
    repairEmptyCount(store, section);
    if (text.isEmpty())
        return;
    addHistory(store, section, QString::fromLatin1(settings::TempName::Prefix), text);
}

void AddEditHistory(platform::SettingsStore& store, const QString& text)
{
    const QString section = QString::fromLatin1(settings::TempEdit::Section);
    repairEmptyCount(store, section);
    if (text.isEmpty())
        return;
    addHistory(store, section, QString::fromLatin1(settings::TempEdit::Prefix), text);
}

} // namespace tavil::support::Module1
