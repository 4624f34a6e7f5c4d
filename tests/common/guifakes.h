#pragma once

#include "platform/gui/desktop.h"
#include "platform/volumes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>

namespace tavil::test {

// Counts beeps, records opened addresses and answers folder pickers from a
// queue ("" = cancelled, also when the queue is empty).
class FakeDesktop final : public platform::Desktop {
public:
    void beep() override { ++beeps; }
    bool openUrl(const QUrl& url) override
    {
        opened.append(url);
        return openResult;
    }
    QString pickFolder(QWidget*, const QString& title, const QString&) override
    {
        pickerTitles.append(title);
        if (folders.empty())
            return {};
        const QString f = folders.front();
        folders.pop_front();
        return f;
    }

    int beeps = 0;
    QList<QUrl> opened;
    bool openResult = true;
    std::deque<QString> folders;
    QStringList pickerTitles;
};

// Volumes a test chooses; a root listed in notReady can't be read.
class FakeVolumes final : public platform::Volumes {
public:
    QStringList roots() override { return list; }
    bool isReady(const QString& root) override { return !notReady.contains(root); }

    QStringList list{QStringLiteral("/")};
    QStringList notReady;
};

} // namespace tavil::test
