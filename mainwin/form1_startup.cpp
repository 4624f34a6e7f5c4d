// The start-up and the shutdown of the main window.

#include "engine/errmsg.h"
#include "mainwin/caption.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/form2.h"
#include "mainwin/numberpresets.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "mainwin/twips.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/settingsstore.h"
#include "support/settingsschema.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <functional>

namespace tavil::mainwin {

namespace S = support::settings;
using platform::Err;

namespace {

constexpr int kSplashMs = 700;

// A whole number as the settings hold it: blanks around an optional sign
// and digits; anything else is a type mismatch.
Err toWhole(const QString& text, qint64* value)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok) {
        // A number with a fraction is still a number: its whole part counts.
        const double d = text.trimmed().toDouble(&ok);
        if (!ok)
            return Err::TypeMismatch;
        *value = qint64(d);
        return Err::None;
    }
    *value = v;
    return Err::None;
}

QSize screenTwips()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect g = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    return QSize(twips::fromPx(g.width()), twips::fromPx(g.height()));
}

// The hourglass for the length of the start-up, also when a step fails.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

Err Form1::restoreGeometry()
{
    // Top, Left, Width, Height, each with its own fallback; a value beyond
    // the screen, negative or absurdly large is not used.
    const QSize screen = screenTwips();
    struct Key {
        const char* key;
        int extent;
        int fallback;
    };
    const Key keys[] = {
        {S::Setting::Top, screen.height(), S::Setting::FallbackTop},
        {S::Setting::Left, screen.width(), S::Setting::FallbackLeft},
        {S::Setting::Width, screen.width(), S::Setting::FallbackWidth},
        {S::Setting::Height, screen.height(), S::Setting::FallbackHeight},
    };
    int values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        qint64 v = 0;
        if (const Err e = toWhole(m_services.store.read(S::Setting::Section, keys[i].key, 0), &v); e != Err::None)
            return e;
        values[i] = S::validGeometry(v, keys[i].extent, keys[i].fallback);
        // Each value is taken at once; a size below the minimum is raised by
        // the resize handling.
        const QRect g = geometryTwips();
        switch (i) {
        case 0: setGeometryTwips(g.left(), values[0], g.width(), g.height()); break;
        case 1: setGeometryTwips(values[1], g.top(), g.width(), g.height()); break;
        case 2: setGeometryTwips(g.left(), g.top(), values[2], g.height()); break;
        case 3: setGeometryTwips(g.left(), g.top(), g.width(), values[3]); break;
        }
    }
    return Err::None;
}

void Form1::startupError(Err err)
{
    if (m_splash)
        m_splash->close();
    m_services.dialogs.msgBox(engine::genericErrorText(static_cast<int>(err)), QStringLiteral(u"ｴﾗｰ"),
                              platform::MsgStyle::Exclamation);
}

bool Form1::Form_Load()
{
    // The command line, compared exactly.
    if (m_commandLine == u"-p") {
        m_services.store.write(S::Setting::Section, S::Setting::Top, QStringLiteral("0"));
        m_services.store.write(S::Setting::Section, S::Setting::Left, QStringLiteral("0"));
    } else if (!m_commandLine.isEmpty() && runQuickWindow) {
        // The Quick window first; the main window only when it asks for it,
        // and then nothing of the main window is saved if it doesn't.
        if (!runQuickWindow())
            return false;
    }

    const WaitCursor wait;
    m_splash = Form2::showSplash(m_services, [this] { Timer1->stop(); });
    QCoreApplication::processEvents();

    // Every step runs, whatever the one before it met; a step that fails is
    // reported and the start-up goes on.
    const std::function<Err()> steps[] = {
        [this] { return restoreGeometry(); },
        [this] {
            setWindowTitle(mainWindowCaption());
            return Err::None;
        },
        [this] { return m_browser->loadPatterns(); },
        [this] {
            m_tabs->loadSettings(m_services.clock.now());
            return Err::None;
        },
        [this] { return m_presets->loadCaptions(); },
        [this] {
            const QString stored = m_services.store.read(S::Setting::Section, S::Setting::TabStrip, 1);
            qint64 tab = 0;
            if (const Err e = toWhole(stored, &tab); e != Err::None)
                return e;
            return m_tabs->selectTab(int(tab)) ? Err::None : Err::InvalidProperty;
        },
        [this] {
            m_options = S::loadOptionFlags(m_services.store);
            return Err::None;
        },
        [this] {
            m_status->chooseProgress();
            m_status->placeProgress();
            return Err::None;
        },
        [this] {
            m_lists->loadSettings();
            return Err::None;
        },
        [this] {
            // A start folder that can't be opened is told as the browser
            // tells any folder it can't open, the folder named.
            QString unopened;
            const Err err = m_browser->loadSettings(&unopened);
            if (err != Err::None) {
                if (m_splash)
                    m_splash->close();
                m_browser->showError(int(err), platform::MsgStyle::Exclamation, unopened);
            }
            return Err::None;
        },
        [this] { return loadMenuState(); },
    };
    bool repeated = false;
    for (const auto& step : steps) {
        Err err = step();
        if (err == Err::TypeMismatch && !repeated
            && m_services.store.read(S::Dir::Section, S::kCountKey, 1).isEmpty()) {
            // An empty shortcut count is the one stored value that is
            // repaired here; the step is tried once more.
            m_services.store.write(S::Dir::Section, S::kCountKey, QStringLiteral("0"));
            repeated = true;
            err = step();
        }
        if (err != Err::None)
            startupError(err);
    }
    Form_Resize();
    Timer1->start(kSplashMs);
    return true;
}

void Form1::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    platform::SettingsStore& store = m_services.store;
    // Ctrl held in the drive box stores the design geometry instead.
    QRect g = geometryTwips();
    if (m_browser->ctrlHeld())
        g = QRect(S::Setting::FallbackLeft, S::Setting::FallbackTop, S::Setting::FallbackWidth, S::Setting::FallbackHeight);
    store.write(S::Setting::Section, S::Setting::Top, QString::number(g.top()));
    store.write(S::Setting::Section, S::Setting::Left, QString::number(g.left()));
    store.write(S::Setting::Section, S::Setting::Width, QString::number(g.width()));
    store.write(S::Setting::Section, S::Setting::Height, QString::number(g.height()));
    m_browser->saveSettings();
    m_tabs->saveSettings();
    store.sync();
    emit ended();
}

} // namespace tavil::mainwin
