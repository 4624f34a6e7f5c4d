#include "platform/gui/services.h"
#include "platform/gui/services.h"

#include <QStandardPaths>

namespace tavil::platform {

QString defaultErrlogFolder()
{
    // Not the application's own data location: with both the organisation
    // and the program named Tavil that would be Tavil/Tavil.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tavil/errlog");
}

} // namespace tavil::platform
