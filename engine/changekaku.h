#pragma once

#include <QString>

#include <optional>

namespace tavil::engine {

struct RunContext;

// The parameters of the extension tab ("Kaku": the extension).
struct ChangeKakuParams {
    enum class Mode { Change, Delete, Join }; // OptKaku1 "変更", OptKaku2 "削除", OptKaku3 "結合"
    Mode ExtensionMode = Mode::Change;
    QString NewExtension; // Text8, read in change mode only; "." optional
};

// The new name of one file. Change: base & "." & the new extension (one dot
// in front, whether the text brings it or not); delete: the base name; join:
// base & extension without the dot. nullopt leaves the file alone: a change
// to an empty extension, and a name whose base is empty (".profile"), which
// delete and join would otherwise turn into nothing or strip of its dot.
std::optional<QString> changeKakuNewName(const ChangeKakuParams& params, const QString& oldName);

// The extension change over ctx.objList in ctx.SourceFolder. True when it
// stopped early, also when the new extension is empty (refused with a
// message before any file is touched).
bool ChangeKaku(RunContext& ctx, const ChangeKakuParams& params);

} // namespace tavil::engine
