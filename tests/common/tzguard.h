#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <time.h>

namespace tavil::test {

// Sets a POSIX time-zone rule ("JST-9") for as long as it lives and puts the
// old one back, so local times in a test do not depend on the machine.
class TzGuard {
public:
    explicit TzGuard(const char* rule) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", rule);
        tzset();
    }
    ~TzGuard()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }
    TzGuard(const TzGuard&) = delete;
    TzGuard& operator=(const TzGuard&) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

} // namespace tavil::test
