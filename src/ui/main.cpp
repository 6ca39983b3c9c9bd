// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Application.h"
#include "ui/Unit1.h"

int main(int argc, char **argv)
{
    vibrona::Application application(argc, argv);
    TForm1 Form1;
    application.setMainWindow(&Form1, [&Form1] { return Form1.runDepth() > 0; });
    Form1.show();
    return application.exec();
}
