// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <string>
#include <utility>

class QWidget;

namespace vibrona {

// Shows an error in a modal box captioned with the application's name, with
// the error icon and one OK button; the text gets the final "." rule. While
// the box is open the program's windows take no input but still repaint;
// whatever lay below, a running frame loop included, waits until OK.
void showError(const std::string &message);

// Runs a handler of the window and shows any error that escapes it, so that
// no exception crosses Qt's own frames; the program then goes on.
void runGuarded(const std::function<void()> &handler);

// A handler bound to a control's signal, guarded: for connect().
template <typename Object>
auto guarded(Object *object, void (Object::*handler)())
{
    return [object, handler](auto &&...) { runGuarded([&] { (object->*handler)(); }); };
}

// The box's title, for tests: the application's name.
QString errorBoxTitle();

} // namespace vibrona
