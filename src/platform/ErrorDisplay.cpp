// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ErrorDisplay.h"

#include "platform/ErrorText.h"
#include "platform/Errors.h"

#include <QApplication>
#include <QMessageBox>

#include <new>

namespace vibrona {

QString errorBoxTitle()
{
    return QCoreApplication::applicationName();
}

void showError(const std::string &message)
{
    QMessageBox box(QMessageBox::Critical, errorBoxTitle(), QString::fromStdString(withFinalPeriod(message)),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
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
