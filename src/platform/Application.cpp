// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Application.h"

#include "platform/ErrorDisplay.h"
#include "platform/ErrorText.h"

#include <QCloseEvent>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <string>

// The icon is built into the platform library, whose resources a static
// link leaves out unless they are asked for by name.
static void loadIconResource()
{
    Q_INIT_RESOURCE(vibrona);
}

namespace vibrona {

namespace {

// The icon's renderings, 32 x 32 first: the size the window's title bar and
// the task bar use.
constexpr int IconSizes[] = {32, 16, 48, 64, 128, 256};

std::string executableName;

// While the display is being opened, Qt's complaint about a missing one
// (a fatal message, followed by an abort and a core dump) is replaced by
// one line and a plain exit.
void displayMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &)
{
    if (type != QtFatalMsg)
        return;
    std::fprintf(stderr,
                 "%s: no display could be opened. Run it on a desktop (X11 or Wayland), "
                 "or without one as: xvfb-run %s\n",
                 executableName.c_str(), executableName.c_str());
    std::_Exit(Application::ExitNoDisplay);
}

int &openDisplay(int &argc, char **argv)
{
    const std::string path = argc > 0 && argv[0] ? argv[0] : "vibrona";
    executableName = path.substr(path.find_last_of('/') + 1);
    qInstallMessageHandler(displayMessageHandler);
    return argc;
}

} // namespace

Application::Application(int &argc, char **argv) : QApplication(openDisplay(argc, argv), argv)
{
    qInstallMessageHandler(nullptr);
    setApplicationName(QString::fromStdString(applicationTitle(argc > 0 && argv[0] ? argv[0] : "")));
    setDesktopFileName(QStringLiteral("vibrona"));
    loadIconResource();
    QIcon icon;
    for (const int size : IconSizes)
        icon.addFile(QStringLiteral(":/icons/vibrona-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
}

Application::~Application() = default;

void Application::setMainWindow(QWidget *window, std::function<bool()> running)
{
    if (m_mainWindow)
        m_mainWindow->removeEventFilter(this);
    m_mainWindow = window;
    m_running = std::move(running);
    if (window)
        window->installEventFilter(this);
}

bool Application::eventFilter(QObject *watched, QEvent *event)
{
    // During a run the main window stays open and keeps animating; the
    // program ends when the outermost run has ended.
    if (watched == m_mainWindow && event->type() == QEvent::Close && running()) {
        event->ignore();
        m_endPending = true;
        return true;
    }
    return QApplication::eventFilter(watched, event);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    if (receiver == this && event->type() == QEvent::Quit && running()) {
        m_endPending = true;
        return true;
    }
    // The last guard: handlers are guarded where they are bound, so an
    // error reaching this point comes from somewhere unexpected; it is shown
    // all the same, and the program goes on.
    bool handled = false;
    ++m_dispatchDepth;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    --m_dispatchDepth;
    // Back in the event loop's own dispatch, with the run and any error box
    // of its end behind us: now a waiting close ends the program.
    if (m_dispatchDepth == 0 && m_endPending && !running()) {
        m_endPending = false;
        exit(0);
    }
    return handled;
}

} // namespace vibrona
