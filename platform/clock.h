#pragma once

#include <QDateTime>

namespace tavil::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;            // local time
    virtual double monotonicSeconds() = 0;  // for elapsed times; never goes back
};

class SystemClock final : public Clock {
public:
    QDateTime now() override;
    double monotonicSeconds() override;
};

// Lets the event loop run once, so the window stays responsive during a run.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

class QtEventPump final : public EventPump {
public:
    void processEvents() override;
};

} // namespace tavil::platform
