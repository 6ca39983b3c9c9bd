// SPDX-License-Identifier: GPL-3.0-or-later
// The tests of widgets run inside the program's own application object, on
// the offscreen platform unless the environment picks another.
#include "platform/Application.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    vibrona::Application application(argc, argv);
    return RUN_ALL_TESTS();
}
