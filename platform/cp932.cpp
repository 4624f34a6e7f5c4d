#include "platform/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tavil::platform {

namespace {

// Qt hands this name to ICU, whose converter for it is code page 932 with
// the Microsoft extensions (NEC and IBM rows, ～ as U+FF5E).
constexpr char kCp932[] = "windows-932";

// Calls f(characterView) for every character, a surrogate pair being one.
template <typename F>
void forEachCharacter(const QString& text, F f)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n =
            (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ? 2
            : 1;
        f(QStringView(text).mid(i, n));
        i += n;
    }
}

// The bytes of a text, with "?" for every character the code page lacks, as
// the system writes it (the converter's own substitute is two bytes).
QByteArray encode(const QString& text)
{
    QStringEncoder encoder(kCp932, QStringConverter::Flag::Stateless);
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return whole;
    // Character by character, each with a converter of its own: the error
    // flag stays set once raised, and a converter cannot be replaced in
    // place (it is tied to its own address).
    QByteArray out;
    forEachCharacter(text, [&](QStringView ch) {
        QStringEncoder one(kCp932, QStringConverter::Flag::Stateless);
        const QByteArray bytes = one.encode(ch);
        out += one.hasError() ? QByteArray("?") : bytes;
    });
    return out;
}

} // namespace

int cp932ByteWidth(const QString& text)
{
    return int(encode(text).size());
}

QByteArray encodeCp932(const QString& text)
{
    return encode(text);
}

std::optional<QString> decodeCp932(const QByteArray& bytes)
{
    QStringDecoder decoder(kCp932, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace tavil::platform
