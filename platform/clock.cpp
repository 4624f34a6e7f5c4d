#include "platform/clock.h"

#include <QCoreApplication>

#include <chrono>

namespace tavil::platform {

QDateTime SystemClock::now()
{
    return QDateTime::currentDateTime();
}

double SystemClock::monotonicSeconds()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

void QtEventPump::processEvents()
{
    QCoreApplication::processEvents();
}

} // namespace tavil::platform
