#pragma once

// What the benchmark programs share: a window that does nothing, dialogs
// that must never be asked, a clock, a way to run a command and a folder on
// disk to work in.

#include "engine/runcontext.h"
#include "platform/dialogs.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace tavil::bench {

class OkDialogs final : public platform::Dialogs {
public:
    platform::MsgButton msgBox(const QString& text, const QString& title, int style) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& def) override;
    int shown = 0;
};

class NoopHost final : public engine::RunHost {
public:
    void setStatus(int, const QString&) override {}
    void setProgressMax(int) override {}
    void setProgressValue(int) override {}
    void setProgressVisible(bool) override {}
    void processEvents() override {}
    void beep() override {}
    void clearWorkList() override {}
    void refreshFileList() override {}
    void focusField(engine::Field) override {}
};

double now();

// Runs a program (found on PATH) in folder and gives its exit code; -1 when
// it can't be started.
int runCommand(const QStringList& argv, const QString& folder);

// True when a program of that name is on PATH.
bool onPath(const QString& program);

// Every dirty page of the machine written out, so one measurement does not
// pay for the writes of the one before.
void syncAll();

long peakMiB();

// A folder of n empty files photo000000.jpg, photo000001.jpg, ... written
// out to disk; the program ends when one can't be made.
QByteArray oldPhotoName(int i);
QByteArray newPhotoName(int i); // the same with the extension "jpeg"
void makePhotos(const QByteArray& folder, int n);

// The middle value (the mean of the two middle ones for an even count).
double median(std::vector<double> values);

} // namespace tavil::bench
