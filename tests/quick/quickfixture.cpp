#include "tests/quick/quickfixture.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QToolBar>
#include <QWindow>

namespace tavil::test {

QUrl fileUrl(const QByteArray& pathBytes)
{
    return QUrl::fromEncoded("file://" + pathBytes.toPercentEncoding("/"), QUrl::StrictMode);
}

QUrl fileUrl(const QString& path)
{
    return fileUrl(path.toUtf8());
}

QuickFixture::QuickFixture()
    : services{fs, store, dialogs, clock, desktop, volumes, QString(), QString()}
{
}

QuickFixture::~QuickFixture()
{
    window.reset();
    // No window of a test may outlive it.
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

quick::Form4& QuickFixture::open(bool fromMenu)
{
    window = std::make_unique<quick::Form4>(services, fromMenu);
    window->show();
    return *window;
}

void QuickFixture::closeWindow()
{
    window->close();
}

void dropOn(QWidget* target, const QMimeData& mime)
{
    QWidget* window = target->window();
    const QPoint at = target->mapTo(window, target->rect().center());
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &enter);
    QDropEvent release(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &release);
    QApplication::processEvents();
}

void QuickFixture::dropUrls(const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    dropOn(window->Toolbar3, mime);
}

void QuickFixture::drop(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(fileUrl(path));
    dropUrls(urls);
}

void QuickFixture::dropText(const QString& text)
{
    QMimeData mime;
    mime.setText(text);
    dropOn(window->Toolbar3, mime);
}

void QuickFixture::setMode(quick::QuickMode mode)
{
    const int index = mode == quick::QuickMode::Files ? 0 : mode == quick::QuickMode::Folders ? 1 : 2;
    window->Toolbar3Buttons[index]->trigger();
}

QStringList QuickFixture::boxes() const
{
    QStringList out;
    for (const ShownBox& box : dialogs.shown)
        out.append(box.title + u'|' + box.text);
    return out;
}

} // namespace tavil::test
