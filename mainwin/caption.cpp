#include "mainwin/caption.h"

#include "mainwin/version.h"

namespace tavil::mainwin {

QString mainWindowCaption()
{
    return QStringLiteral("Tavil Ver %1.%2").arg(kVersionMajor).arg(kVersionMinor);
}

} // namespace tavil::mainwin
