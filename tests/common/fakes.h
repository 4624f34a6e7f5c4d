#pragma once

#include "engine/runcontext.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "tests/common/qtprint.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace tavil::test {

// A message or input box that a test saw.
struct ShownBox {
    QString text;
    QString title;
    int style = 0;
    bool isInput = false;
};

// Answers from a queue (OK, or Yes for Yes/No boxes, when the queue is empty)
// and records every box.
class FakeDialogs final : public platform::Dialogs {
public:
    platform::MsgButton msgBox(const QString& text, const QString& title, int style) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& def) override;

    std::deque<platform::MsgButton> answers;
    std::deque<QString> inputs;
    QList<ShownBox> shown;
};

class FakeClock final : public platform::Clock {
public:
    QDateTime now() override { return current; }
    double monotonicSeconds() override { return seconds; }

    QDateTime current = QDateTime(QDate(2003, 3, 31), QTime(9, 5, 7));
    double seconds = 100.0;
};

// Records what an operation shows; processEvents runs onPump so a test can
// press the abort button at a chosen moment.
class FakeHost : public engine::RunHost {
public:
    void setStatus(int panel, const QString& text) override;
    void setProgressMax(int max) override { progressMax = max; }
    void setProgressValue(int value) override { progressValue = value; progressValues.append(value); }
    void setProgressVisible(bool visible) override { progressVisible = visible; }
    void processEvents() override;
    void beep() override { ++beeps; }
    void clearWorkList() override { ++workListCleared; }
    void refreshFileList() override { ++fileListRefreshed; }
    void focusField(engine::Field field) override { focused.push_back(field); }

    QString status1, status2;
    QStringList statusLog; // "1:text" / "2:text" in order
    int progressMax = -1;
    int progressValue = -1;
    QList<int> progressValues;
    bool progressVisible = false;
    int pumps = 0;
    int beeps = 0;
    int workListCleared = 0;
    int fileListRefreshed = 0;
    // A vector: Qt's own comparison of two empty lists of plain values is
    // undefined behaviour (a null pointer into memcmp).
    std::vector<engine::Field> focused;
    std::function<void(int pumpNumber)> onPump;
};

} // namespace tavil::test
