// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>

int main()
{
    std::puts("vibrona: the window is not built yet; only the motion model and its tests exist.");
    return 1;
}
