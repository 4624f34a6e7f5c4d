#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Tests run without a display and never touch the real home: settings, trash
// and data folders live in a temporary folder for the whole process.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    const QString root = home.path();
    for (const char* sub : {"config", "data", "cache"})
        QDir().mkpath(root + "/" + sub);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/data"));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root + "/cache"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tavil"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tavil"));
    return RUN_ALL_TESTS();
}
