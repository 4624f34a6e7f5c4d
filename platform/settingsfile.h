#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace tavil::platform::settingsfile {

// The text of one value as the settings file holds it, and back. A value is
// the text after "=" as it is written, commas, quotes, blanks and percent
// signs included. A backslash starts an escape only for what a line cannot
// hold as it is: "\\" and "\"", control characters ("\n", "\t", "\x1f"), a
// byte of a name that is not UTF-8 ("\xE9", the way such a name is shown)
// and half a character ("\uD83D"). So the file stays UTF-8 text and every
// text comes back exactly. Files written before read the same: a value in
// double quotes is the text between them, and a leading "@@" stands for "@".
QByteArray encodeValue(const QString& text);
QString decodeValue(QByteArrayView raw);

// Section and key names: letters, digits, "_", "-" and "." as they are;
// "/" as "\"; any other character as "%XX" or "%UXXXX".
QByteArray encodeKey(const QString& key);
QString decodeKey(QByteArrayView raw);

// The whole file: its sections in their order, and in each its lines in
// theirs. A line the program does not change (a comment, a line it cannot
// read, a value it did not write) is written back byte for byte.
class Document {
public:
    static Document parse(QByteArrayView bytes);
    QByteArray serialize() const;

    std::optional<QString> value(const QString& section, const QString& key) const;
    // Each is true when the file's text changed.
    bool setValue(const QString& section, const QString& key, const QString& text);
    bool removeKey(const QString& section, const QString& key);
    bool removeSection(const QString& section);

private:
    struct Line {
        QByteArray raw;               // as written, without the line end
        std::optional<QString> key;   // none for a comment, blank or other line
        QString value;
    };
    struct Section {
        QString name; // "" for the lines before the first section
        QByteArray header;
        QList<Line> lines;
    };
    // The line that holds the key: the last one, which is the one that counts.
    Line* find(const QString& section, const QString& key);
    const Line* find(const QString& section, const QString& key) const;

    QList<Section> m_sections;
};

} // namespace tavil::platform::settingsfile
