#pragma once

#include "platform/errors.h"

#include <QString>

namespace tavil::engine {

struct RunContext;

// "ｴﾗｰ番号  5 でｴﾗｰが発生しました。" CR description.
QString genericErrorText(int number);
// Shows the generic error message (16, "ｴﾗｰ"); a detail, such as the name
// that could not be used, goes on a line of its own after the description.
void showGenericError(RunContext& ctx, int number, const QString& detail = QString());

// The messages for disk full (61), write protection (70) and access errors
// (75, with its network variant); nothing for other numbers. A 70 met in
// reading a file (a copy's source) is not a write-protected disk: that
// message names the file that can't be read. An entry that is no file to
// copy (a folder, a FIFO, a device, a link loop) is named and said to be so.
void ErrMsg(RunContext& ctx, const platform::FsStatus& status, const QString& DirPath,
            const QString& filePath = QString());

} // namespace tavil::engine
