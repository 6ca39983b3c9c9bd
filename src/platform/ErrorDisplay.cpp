// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ErrorDisplay.h"

#include "platform/ErrorText.h"
#include "platform/Errors.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include <new>

namespace vibrona {

QString errorBoxTitle()
{
    return QCoreApplication::applicationName();
}

void showError(const std::string &message)
{
    // After OK the window that was active gets the input back, with the
    // focus where it was.
    const QPointer<QWidget> active = QApplication::activeWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    {
        QMessageBox box(QMessageBox::Critical, errorBoxTitle(), QString::fromStdString(withFinalPeriod(message)),
                        QMessageBox::Ok, active);
        box.setObjectName(QStringLiteral("ErrorBox"));
        box.exec();
    }
    if (active) {
        active->activateWindow();
        QApplication::setActiveWindow(active);
    }
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

void runGuarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const Exception &error) {
        showError(error.message());
    } catch (const std::bad_alloc &) {
        showError("Out of memory");
    } catch (const std::exception &error) {
        showError(error.what());
    }
}

} // namespace vibrona
