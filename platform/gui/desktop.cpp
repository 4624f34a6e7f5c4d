#include "platform/gui/desktop.h"

#include "platform/gui/qtdialogs.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace tavil::platform {

namespace {

// The folder picker's list writes the dates of its files in the session's
// locale (often C: "11 Dec 2026 03:16:20") whatever the program's; this
// writes them in the program's locale, as every other text Qt draws.
class LocaleDates final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        constexpr int kDateColumn = 3; // name, size, kind, date
        if (role == Qt::DisplayRole && index.column() == kDateColumn) {
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel())) {
                const QDateTime time = files->lastModified(mapToSource(index));
                return time.isValid() ? QLocale().toString(time, QLocale::ShortFormat) : QString();
            }
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

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
    QFileDialog picker(owner, title, startFolder);
    picker.setFileMode(QFileDialog::Directory);
    picker.setOption(QFileDialog::ShowDirsOnly);
    picker.setProxyModel(new LocaleDates(&picker));
    if (picker.exec() != QDialog::Accepted)
        return QString();
    return picker.selectedFiles().value(0);
}

} // namespace tavil::platform
