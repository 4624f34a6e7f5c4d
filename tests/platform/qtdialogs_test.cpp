#include "platform/gui/desktop.h"
#include "platform/gui/qtdialogs.h"
#include "tests/common/tempdir.h"

#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLocale>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using tavil::platform::MsgButton;
using tavil::platform::QtDesktop;
using tavil::platform::QtDialogs;

namespace {

// Runs action on the modal dialog as soon as it is shown; whatever action
// leaves open is closed afterwards, so a failing test cannot hang.
void whenModal(std::function<void(QDialog*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        action(dialog);
        if (dialog->isVisible())
            dialog->done(0);
    });
    timer->start();
}

QAbstractButton* buttonWithRole(QMessageBox* box, QMessageBox::ButtonRole role)
{
    for (QAbstractButton* b : box->buttons()) {
        if (box->buttonRole(b) == role)
            return b;
    }
    return nullptr;
}

struct Seen {
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool openAfterEscape = false;
    bool openAfterClose = false;
};

TEST(QtDialogs, YesNoIgnoresEscapeAndCloseButton)
{
    Seen seen;
    whenModal([&](QDialog* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        seen.icon = box->icon();
        seen.buttons = int(box->buttons().size());
        QTest::keyClick(box, Qt::Key_Escape);
        seen.openAfterEscape = box->isVisible();
        box->close();
        seen.openAfterClose = box->isVisible();
        if (QAbstractButton* no = buttonWithRole(box, QMessageBox::NoRole))
            no->click();
    });
    QtDialogs dialogs;
    const MsgButton answer = dialogs.msgBox(u"一行目\r二行目\r\n<b>三</b>"_s, QString(), 36);
    EXPECT_EQ(answer, MsgButton::No);
    EXPECT_TRUE(seen.openAfterEscape);
    EXPECT_TRUE(seen.openAfterClose);
    EXPECT_EQ(seen.title, u"Tavil"_s);
    EXPECT_EQ(seen.text, u"一行目\n二行目\n<b>三</b>"_s);
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, 2);
}

TEST(QtDialogs, ButtonsAndIconsPerStyle)
{
    const struct {
        int style;
        QMessageBox::Icon icon;
        int buttons;
        Qt::Key key;
        MsgButton answer;
    } cases[] = {
        {0, QMessageBox::NoIcon, 1, Qt::Key_Escape, MsgButton::Ok},
        {16, QMessageBox::Critical, 1, Qt::Key_Escape, MsgButton::Ok},
        {33, QMessageBox::Question, 2, Qt::Key_Escape, MsgButton::Cancel},
        {33, QMessageBox::Question, 2, Qt::Key_Return, MsgButton::Ok},
        {36, QMessageBox::Question, 2, Qt::Key_Return, MsgButton::Yes},
        {48, QMessageBox::Warning, 1, Qt::Key_Return, MsgButton::Ok},
        {49, QMessageBox::Warning, 2, Qt::Key_Escape, MsgButton::Cancel},
        {64, QMessageBox::Information, 1, Qt::Key_Escape, MsgButton::Ok},
        {68, QMessageBox::Information, 2, Qt::Key_Return, MsgButton::Yes},
        // The second button as the default: Enter answers No or Cancel.
        {36 + 256, QMessageBox::Question, 2, Qt::Key_Return, MsgButton::No},
        {33 + 256, QMessageBox::Question, 2, Qt::Key_Return, MsgButton::Cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        Seen seen;
        whenModal([&](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            ASSERT_NE(box, nullptr);
            seen.title = box->windowTitle();
            seen.icon = box->icon();
            seen.buttons = int(box->buttons().size());
            QTest::keyClick(box, c.key);
        });
        QtDialogs dialogs;
        EXPECT_EQ(dialogs.msgBox(u"text"_s, u"作業の中止"_s, c.style), c.answer);
        EXPECT_EQ(seen.title, u"作業の中止"_s);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, c.buttons);
    }
}

TEST(QtDialogs, InputBoxReturnsTextOrEmptyOnCancel)
{
    QString shownTitle, shownDefault;
    whenModal([&](QDialog* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr);
        shownTitle = input->windowTitle();
        shownDefault = input->textValue();
        input->setTextValue(u"新しい名前"_s);
        input->accept();
    });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.inputBox(u"名前："_s, QString(), u"既定"_s), u"新しい名前"_s);
    EXPECT_EQ(shownTitle, u"Tavil"_s);
    EXPECT_EQ(shownDefault, u"既定"_s);

    whenModal([](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.inputBox(u"名前："_s, u"題"_s, u"既定"_s), QString());
}

TEST(QtDesktop, FolderPickerWritesDatesInTheProgramsLocale)
{
    // The program's locale, as the start-up sets it; the session's stays C.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    tavil::test::TempDir dir;
    const QString sub = dir.createDir(u"sub"_s);
    const QDateTime written(QDate(2026, 12, 1), QTime(9, 5, 7));
    const timespec times[2] = {{written.toSecsSinceEpoch(), 0}, {written.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(sub).constData(), times, 0), 0);

    QString date;
    whenModal([&](QDialog* dialog) {
        auto* picker = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(picker, nullptr);
        auto* files = picker->findChild<QFileSystemModel*>();
        auto* view = picker->findChild<QTreeView*>(u"treeView"_s);
        ASSERT_NE(files, nullptr);
        ASSERT_NE(view, nullptr);
        auto* shown = qobject_cast<QAbstractProxyModel*>(view->model());
        ASSERT_NE(shown, nullptr);
        // The list is read by a thread of its own.
        const auto dateShown = [&] { return shown->mapFromSource(files->index(sub, 3)).data().toString(); };
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dateShown().isEmpty(); }, 20000));
        date = dateShown();
        picker->selectFile(sub);
        dialog->accept(); // the picker's own accept: the folder typed in
    });
    EXPECT_EQ(QtDesktop().pickFolder(nullptr, u"出力先フォルダを選択して下さい。"_s, dir.path()), sub);
    EXPECT_EQ(date, u"2026/12/01 9:05"_s);
    QLocale::setDefault(before);
}

} // namespace
