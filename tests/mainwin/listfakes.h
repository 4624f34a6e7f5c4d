#pragma once

#include "mainwin/filelistsource.h"
#include "mainwin/progress.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace tavil::test {

// File1 as a list of names with a chosen selection.
class FakeFiles final : public mainwin::FileListSource {
public:
    int fileCount() const override { return int(names.size()); }
    QStringList allFiles() const override { return names; }
    QStringList selectedFiles() const override
    {
        QStringList out;
        for (const QString& n : names) {
            if (selected.contains(n))
                out.append(n);
        }
        return out;
    }
    void selectAllFiles() override { ++selectAllCalls; }
    void invertFileSelection() override { ++invertCalls; }

    QStringList names;
    QSet<QString> selected;
    int selectAllCalls = 0;
    int invertCalls = 0;
};

class FakeProgress final : public mainwin::Progress {
public:
    void setMax(int m) override { maxValue = m; }
    int max() const override { return maxValue; }
    void setValue(int v) override
    {
        current = v;
        values.append(v);
    }
    int value() const override { return current; }

    int maxValue = 100;
    int current = 0;
    QList<int> values;
};

// Records the panel texts in order ("1:text") and whether the progress
// display is shown.
class FakeStatus final : public mainwin::StatusSink {
public:
    void setPanelText(int panel, const QString& text) override
    {
        panels[panel == 1 ? 0 : 1] = text;
        log.append(QString::number(panel) + u':' + text);
    }
    QString panelText(int panel) const override { return panels[panel == 1 ? 0 : 1]; }
    mainwin::Progress& showProgress() override
    {
        shown = true;
        ++shows;
        return progress;
    }
    void hideProgress() override
    {
        shown = false;
        progress.current = 0;
    }

    QString panels[2];
    QStringList log;
    FakeProgress progress;
    bool shown = false;
    int shows = 0;
};

} // namespace tavil::test
