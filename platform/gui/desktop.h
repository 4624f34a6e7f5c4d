#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace tavil::platform {

// What the windows ask of the desktop around them.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void beep() = 0;
    // A web page, a mail address (mailto:) or a local file, in the user's
    // program for it; false when nothing opened it.
    virtual bool openUrl(const QUrl& url) = 0;
    // A folder chosen by the user, or "" when cancelled.
    virtual QString pickFolder(QWidget* owner, const QString& title, const QString& startFolder) = 0;
};

class QtDesktop final : public Desktop {
public:
    void beep() override;
    bool openUrl(const QUrl& url) override;
    QString pickFolder(QWidget* owner, const QString& title, const QString& startFolder) override;
};

} // namespace tavil::platform
