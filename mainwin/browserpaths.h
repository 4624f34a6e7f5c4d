#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QMimeData;

// Folder texts as the file browser keeps them.
namespace tavil::mainwin::browserpaths {

// An absolute folder written once: no doubled "/", no "." parts, ".." taken
// back against the part before it (never above the root), no closing "/"
// ("/" itself for the root). nullopt for an empty or relative text.
std::optional<QString> normalFolder(const QString& folder);

// The local path a URL names, byte for byte (a name that is not UTF-8
// arrives percent-encoded and keeps its bytes; QUrl::toLocalFile would
// replace them). nullopt for a URL that is not a local file.
std::optional<QString> localPath(const QUrl& url);

// The first local path among the dropped URLs; nullopt when the drop holds
// none.
std::optional<QString> firstDroppedPath(const QMimeData* data);

// The path cut after its last "/": a file gives the folder that holds it,
// a folder the folder above it, a text ending in "/" itself.
QString cutAfterLastSeparator(const QString& path);

} // namespace tavil::mainwin::browserpaths
