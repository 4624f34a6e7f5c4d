#pragma once

#include "mainwin/completioncandidates.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMouseEvent;
class QToolBar;
class QWidget;

namespace tavil::platform {
struct Services;
}

namespace tavil::mainwin {

using platform::Services;
class FileBrowser;
class TabPages;

// The completion popup: while the user types into one of the served boxes
// it drops down under the box and offers the entries of the box's own list
// and of its input history that begin with the whole text typed. Up and
// Down move through the offers and write them into the box, Enter stores the
// box's text in its history, Esc closes and leaves the box as it stands, a
// click takes an entry (and stores it); the popup closes when its box loses
// the focus. The box a later Enter or choice stores from is always the one
// that has the focus, whether the option is on or not.
//
// It is four controls of the window, shown and hidden together: the list
// List3, the strip SBar2 under it, the close button bar Toolbar2 on the strip
// and the grip Picture2 at the strip's right end. None of them takes the
// focus, so a click on them leaves it in the box.
class CompletionPopup final : public QObject {
    Q_OBJECT
public:
    // The input history a box offers and stores into.
    enum class History { Pattern, Extension, Name, Edit };

    // form: the window's client area, parent of the four controls; the
    // served boxes lie somewhere inside it.
    CompletionPopup(QWidget* form, Services& services);
    ~CompletionPopup() override;

    // gAutoComp, asked at each text change (the options may change it).
    std::function<bool()> autoComp = [] { return true; };

    // The boxes of the operation tabs: Text4, Text5, Text8, Text10, Text11
    // and Combo4, with the characters each refuses while typing.
    void serveTabs(TabPages& tabs);
    // The pattern box Combo1. Its own key and change handling stays with the
    // browser; the browser's suppress flag is the popup's for this box.
    void servePatternBox(FileBrowser& browser);

    // While set, text changes of the boxes open nothing (set around text
    // changes the program makes itself).
    void setSuppressed(bool suppressed);
    bool suppressed() const { return m_suppressed; }

    // Builds, places and shows the popup for box, or hides it when nothing
    // matches its text.
    void CompletePopupShow(QComboBox* box);
    // Shows (true) or hides (false) the four controls.
    void CompletePopupClose(bool show);

    bool isShown() const { return m_shown; }
    // The served box that has the focus (none when the focus is elsewhere).
    QComboBox* currentBox() const;
    // The box the shown popup belongs to.
    QComboBox* servedBox() const;
    // The current box's text as the user last typed it.
    QString typedText() const { return m_typed; }

    QListWidget* List3;
    QLineEdit* SBar2;
    QToolBar* Toolbar2;
    QLabel* Picture2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Guarded pointers: events reach the filter while the window is taken
    // down, when a box may be half gone (no longer a combo box) or gone.
    struct Served {
        QPointer<QObject> box;
        QPointer<QObject> edit;
        completion::OwnList own;
        History history;
        bool byBrowser; // Combo1: the browser handles Enter and reports changes
        QComboBox* combo() const;
    };

    void wire();
    void serve(QComboBox* box, completion::OwnList own, History history, const QString& refused);
    const Served* servedFor(const QObject* watched) const;
    const Served* servedFor(const QComboBox* box) const;
    QStringList historyOf(History history) const;
    void storeHistory(const Served& served, const QString& text);

    void textChanged(QComboBox* box);
    bool keyDown(const Served& served, const QKeyEvent* key);
    void enterPressed(const Served& served);
    void move(QComboBox* box, int step);
    void writeBox(QComboBox* box, const QString& text);
    void place(QComboBox* box, int rows);

    void List3_Click(QListWidgetItem* item);
    void List3_MouseMove(const QMouseEvent* event);
    void Toolbar2_ButtonClick();

    QWidget* m_form;
    Services& m_services;
    std::vector<Served> m_boxes;
    QPointer<FileBrowser> m_browser;
    QPointer<QObject> m_current;
    QPointer<QObject> m_served;
    QString m_typed;
    int m_lastKey = 0;
    bool m_suppressed = false;
    bool m_choosing = false; // a click writes the chosen entry into the box
    bool m_shown = false;
};

} // namespace tavil::mainwin
