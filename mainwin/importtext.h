#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The text of an imported name list, away from any widget: reading the file,
// decoding it, joining its lines and splitting it into names.
namespace tavil::mainwin::importtext {

// Why a file could not be read.
enum class ReadFailure {
    None,
    Missing,   // no such file, or a folder on the way is missing
    Denied,    // no permission to read it
    Folder,    // a folder was dropped
    NotAFile,  // a FIFO, socket or device: never read (it may never end)
    Failed,    // any other failure of the system
};

struct ReadResult {
    ReadFailure failure = ReadFailure::None;
    int sysErrno = 0;
    bool ok() const { return failure == ReadFailure::None; }
};

// The whole content of the file at path (a raw name, platform/fsname.h).
// afterBatch runs after every block read. The file is closed again whatever
// happens.
ReadResult readFile(const QString& path, QByteArray* out, const std::function<void()>& afterBatch = {});

// UTF-8 (a leading byte-order mark dropped) when the bytes are valid UTF-8,
// else code page 932; nullopt when they are neither (a file that starts with
// the UTF-8 mark must be UTF-8 throughout).
std::optional<QString> decode(const QByteArray& bytes);

// The lines of the text, each followed by CR LF. A line ends at CR LF, at a
// lone LF or at a lone CR; a last line without an end counts as a line. An
// empty text stays empty.
QString joinLines(const QString& text);

// The separator a text of Combo3 stands for.
struct Separator {
    bool lineMode = false; // "改行": one name per line
    QString text;          // the separator of character mode
};
Separator separatorFor(const QString& comboText);

// The names of the joined text, in order. Line mode keeps every line that is
// not empty, blanks included. Character mode cuts at every occurrence of the
// separator (a longer separator as a whole): two separators in a row give no
// name; each name loses the CR LF pairs at its two ends and keeps those
// inside it; the last piece is a name too when it is not empty, even if only
// line breaks made it (it then becomes an empty name). step runs with the
// position every 100 characters.
QStringList split(const QString& joined, const Separator& separator,
                  const std::function<void(qsizetype position)>& step = {});

} // namespace tavil::mainwin::importtext
