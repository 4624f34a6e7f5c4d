#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tavil::platform {

// Width of a text in code page 932 bytes: double-byte characters count 2,
// single-byte ones 1, an unmappable character 1.
int cp932ByteWidth(const QString& text);
QByteArray encodeCp932(const QString& text);
// nullopt when the bytes are not valid code page 932.
std::optional<QString> decodeCp932(const QByteArray& bytes);

} // namespace tavil::platform
