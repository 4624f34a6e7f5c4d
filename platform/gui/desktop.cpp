#include "platform/gui/desktop.h"

#include "platform/gui/qtdialogs.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace tavil::platform {

void QtDesktop::beep()
{
    platform::beep();
}

bool QtDesktop::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

QString QtDesktop::pickFolder(QWidget* owner, const QString& title, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(owner, title, startFolder, QFileDialog::ShowDirsOnly);
}

} // namespace tavil::platform
