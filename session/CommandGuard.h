#pragma once

#include <functional>

class Dialogs;

// Runs one user command. An error the command does not handle (a conversion or
// database error, anything thrown) ends it and is shown here, once; exceptions
// never cross the Qt event loop. Returns false when the command was abandoned.
bool RunCommand(Dialogs &dialogs, const std::function<void()> &command);

// A slot that runs the command through RunCommand: connect(btn, &QPushButton::clicked, this, Guarded(d, [this] { ... }));
template <typename F>
auto Guarded(Dialogs &dialogs, F command)
{
    return [&dialogs, command]() { RunCommand(dialogs, command); };
}
