#pragma once

#include <QString>
#include <QUrl>

#include <utility>

namespace tavil::platform {
class Desktop;
}

namespace tavil::mainwin {

// The program's manual: HTML pages shipped with the program (installed
// under share/tavil/help, or the source tree's data/help when the program
// runs from its build folder), shown in the user's browser.
class HelpManual {
public:
    explicit HelpManual(platform::Desktop& desktop) : HelpManual(desktop, folder()) {}
    // The pages of pagesFolder ("" when there are none).
    HelpManual(platform::Desktop& desktop, QString pagesFolder)
        : m_desktop(desktop), m_folder(std::move(pagesFolder))
    {
    }

    // The folder that holds the pages; "" when none is found.
    static QString folder();
    static QUrl contentsUrl(); // index.html: the table of contents
    static QUrl indexUrl();    // keywords.html: the index of topics

    enum class Shown {
        Yes,
        Missing,   // the page is not there: nothing was asked of the desktop
        NoBrowser, // the page is there, but no program opened it
    };
    Shown showContents();
    Shown showIndex();

private:
    Shown show(const QString& page);
    platform::Desktop& m_desktop;
    QString m_folder;
};

} // namespace tavil::mainwin
