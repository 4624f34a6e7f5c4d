#include "platform/gui/delfile.h"

#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/gui/desktop.h"

namespace tavil::platform {

bool DelFile(FileSystem& fs, Dialogs& dialogs, Desktop& desktop, const QString& path, FsStatus* why)
{
    FsStatus status;
    // A dangling link is still an entry and goes to the trash itself.
    if (!fs.exists(path)) {
        desktop.beep();
        dialogs.msgBox(QStringLiteral(u"削除対象が存在しません"), QStringLiteral("DelFile"), MsgStyle::Information);
        status = FsStatus{Err::NotFound, 0, false};
    } else {
        status = fs.moveToTrash(path);
    }
    if (why)
        *why = status;
    return status.ok();
}

} // namespace tavil::platform
