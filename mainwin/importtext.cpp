#include "mainwin/importtext.h"

#include "platform/cp932.h"
#include "platform/fsname.h"

#include <QStringDecoder>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavil::mainwin::importtext {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr qsizetype kBlock = 64 * 1024;
constexpr qsizetype kStepEvery = 100;

// The descriptor is closed on every way out.
class OpenFile {
public:
    explicit OpenFile(int fd) : m_fd(fd) {}
    ~OpenFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

ReadResult failureOf(int sysErrno)
{
    switch (sysErrno) {
    case ENOENT:
    case ENOTDIR:
        return {ReadFailure::Missing, sysErrno};
    case EACCES:
    case EPERM:
        return {ReadFailure::Denied, sysErrno};
    case EISDIR:
        return {ReadFailure::Folder, sysErrno};
    default:
        return {ReadFailure::Failed, sysErrno};
    }
}

void trimLineBreaks(QString* item)
{
    for (;;) {
        if (item->startsWith(kCrLf))
            item->remove(0, 2);
        else if (item->endsWith(kCrLf))
            item->chop(2);
        else
            return;
    }
}

} // namespace

ReadResult readFile(const QString& path, QByteArray* out, const std::function<void()>& afterBatch)
{
    out->clear();
    QByteArray bytes;
    if (!platform::nameToBytes(path, &bytes) || bytes.isEmpty())
        return {ReadFailure::Missing, ENOENT};
    // Not blocking: a FIFO would otherwise hold the window until someone
    // writes into it. Only a regular file is read.
    const OpenFile file(::open(bytes.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0)
        return failureOf(errno);
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        return failureOf(errno);
    if (S_ISDIR(st.st_mode))
        return {ReadFailure::Folder, EISDIR};
    if (!S_ISREG(st.st_mode))
        return {ReadFailure::NotAFile, 0};

    QByteArray data;
    if (st.st_size > 0)
        data.reserve(qsizetype(st.st_size));
    QByteArray block(kBlock, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(file.get(), block.data(), size_t(block.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failureOf(errno);
        }
        if (n == 0)
            break;
        data.append(block.constData(), qsizetype(n));
        if (afterBatch)
            afterBatch();
    }
    *out = std::move(data);
    return {};
}

std::optional<QString> decode(const QByteArray& bytes)
{
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArray body = marked ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    if (marked)
        return std::nullopt;
    return platform::decodeCp932(bytes);
}

QString joinLines(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16 + 2);
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            out += QStringView(text).mid(start, i - start);
            out += kCrLf;
            i += (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n) {
        out += QStringView(text).mid(start);
        out += kCrLf;
    }
    return out;
}

Separator separatorFor(const QString& comboText)
{
    if (comboText == u"改行")
        return {true, kCrLf};
    if (comboText == u"ﾀﾌﾞ")
        return {false, QStringLiteral("\t")};
    if (comboText == u"ｺﾛﾝ")
        return {false, QStringLiteral(":")};
    if (comboText == u"ｾﾐｺﾛﾝ")
        return {false, QStringLiteral(";")};
    if (comboText == u"ｶﾝﾏ")
        return {false, QStringLiteral(",")};
    return {false, comboText};
}

QStringList split(const QString& joined, const Separator& separator, const std::function<void(qsizetype)>& step)
{
    QStringList names;
    const qsizetype n = joined.size();
    const QStringView text(joined);
    qsizetype nextStep = kStepEvery;
    const auto stepTo = [&](qsizetype i) {
        while (step && i >= nextStep) {
            step(nextStep);
            nextStep += kStepEvery;
        }
    };

    if (separator.lineMode) {
        qsizetype start = 0;
        while (start < n) {
            qsizetype end = joined.indexOf(kCrLf, start);
            if (end < 0)
                end = n;
            if (end > start)
                names.append(joined.mid(start, end - start));
            start = end + 2;
            stepTo(std::min(start, n));
        }
        return names;
    }

    // An empty separator never matches: the whole text is one name.
    const QString& sep = separator.text;
    const qsizetype width = sep.size();
    QString item;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype found = width > 0 ? joined.indexOf(sep, i) : -1;
        const qsizetype end = found < 0 ? n : found;
        item += text.mid(i, end - i);
        if (found < 0) {
            i = n;
            break;
        }
        if (!item.isEmpty()) {
            trimLineBreaks(&item);
            names.append(item);
            item.clear();
        }
        i = found + width;
        stepTo(i);
    }
    stepTo(n);
    // The emptiness test comes before the trim: a last piece of nothing but
    // line breaks is kept, as an empty name.
    if (!item.isEmpty()) {
        trimLineBreaks(&item);
        names.append(item);
    }
    return names;
}

} // namespace tavil::mainwin::importtext
