// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EventPump.h"

#include <QCoreApplication>

#include <chrono>
#include <thread>

namespace vibrona {

void pumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void sleepMilliseconds(std::int32_t ms)
{
    if (ms <= 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace vibrona
