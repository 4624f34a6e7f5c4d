// Draws the main window as a user sees it, for the README: a folder of
// photos listed, the numbering tab filled in. Run it under a real X server
// (scripts/screenshot.sh starts one with Xvfb).
//
//   tavil_screenshot OUT.png [TAB]    (TAB: 1 to 8, the numbering tab when left out)

#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/selectedlists.h"
#include "mainwin/tabpages.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"
#include "platform/linuxfilesystem.h"
#include "platform/settingsstore.h"
#include "platform/volumes.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace tavil;

namespace {

// No box may wait for an answer here.
class SilentDialogs final : public platform::Dialogs {
public:
    platform::MsgButton msgBox(const QString&, const QString&, int) override { return platform::MsgButton::Ok; }
    QString inputBox(const QString&, const QString&, const QString& def) override { return def; }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tavil_screenshot OUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir home;
    const QString photos = home.path() + QStringLiteral("/写真");
    QDir().mkpath(photos);
    const QStringList names = {
        QStringLiteral("IMG_0412.jpg"),         QStringLiteral("IMG_0413.jpg"),
        QStringLiteral("IMG_0414.jpg"),         QStringLiteral("IMG_0415.jpg"),
        QStringLiteral(u"京都_金閣寺.jpg"),     QStringLiteral(u"京都_清水寺.jpg"),
        QStringLiteral(u"ｽｷｬﾝ_001.tif"),        QStringLiteral("DSC00781.JPG"),
        QStringLiteral("DSC00782.JPG"),         QStringLiteral(u"旅行メモ.txt"),
    };
    for (const QString& n : names) {
        QFile f(photos + u'/' + n);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
    }

    platform::LinuxFileSystem fs;
    platform::MemorySettingsStore store;
    store.write(QStringLiteral("Setting"), QStringLiteral("Dir"), photos);
    SilentDialogs dialogs;
    platform::SystemClock clock;
    platform::QtDesktop desktop;
    platform::SystemVolumes volumes;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, home.path() + QStringLiteral("/errlog"),
                                home.path()};
    mainwin::Form1 form(services, QString());
    if (!form.Form_Load())
        return 1;
    form.Timer1_Timer();
    form.setGeometryTwips(0, 0, 7650, 7200);
    form.tabs().selectTab(argc > 2 ? std::atoi(argv[2]) : 1);
    form.tabs().Text1->setText(QStringLiteral("_"));
    form.tabs().Text2->setText(QStringLiteral("1"));
    form.tabs().Text6->setText(QStringLiteral("3"));
    form.lists().Check1->click();
    form.browser().selectAllFiles();
    form.lists().Command1_Click();
    form.show();
    QTimer::singleShot(1500, &form, [&] {
        const bool saved = form.grab().save(out);
        std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
        QCoreApplication::exit(saved ? 0 : 1);
    });
    return app.exec();
}
