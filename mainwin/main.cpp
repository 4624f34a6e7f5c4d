#include "mainwin/caption.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tavil"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tavil"));

    // The main window's controls come with their own work; until then the
    // window is shown empty under its caption.
    QMainWindow window;
    window.setObjectName(QStringLiteral("Form1"));
    window.setWindowTitle(tavil::mainwin::mainWindowCaption());
    window.resize(410, 437); // 6150 x 6550 twips at 96 DPI
    window.show();
    return app.exec();
}
