#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace tavil::test {

// Moves the data folder (and so the user's trash) to a folder of the test
// for as long as it lives, and puts the old one back.
class DataHomeGuard {
public:
    explicit DataHomeGuard(const QByteArray& path)
        : m_had(qEnvironmentVariableIsSet("XDG_DATA_HOME")), m_old(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", path);
    }
    ~DataHomeGuard()
    {
        if (m_had)
            qputenv("XDG_DATA_HOME", m_old);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    DataHomeGuard(const DataHomeGuard&) = delete;
    DataHomeGuard& operator=(const DataHomeGuard&) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

} // namespace tavil::test
