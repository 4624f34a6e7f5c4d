#include "mainwin/form5.h"

#include "mainwin/services.h"

namespace tavil::mainwin {

Form5::Form5(Services& services, const QString& parentFolder, QWidget* owner)
    : QDialog(owner), m_services(services), m_parentFolder(parentFolder)
{
    setObjectName(QStringLiteral("Form5"));
}

Form5::~Form5() = default;

} // namespace tavil::mainwin
