#pragma once

#include <string>

#include "operations/window.h"

// The window as the session drives it: the controls the operations reach, and its end.
class SessionWindow : public Window {
public:
    // Closes the window as its close box does; the window then tells the session.
    virtual void close() = 0;
    // Ends the message and input boxes that are open, so that the procedures that opened them
    // return.
    virtual void endDialogs() = 0;
    // Ends the message loop: the window is closed and no event procedure runs any more.
    virtual void quit() = 0;
    // What an event procedure raised (a programmer error), for the developer's log.
    virtual void logFault(const std::string& text) = 0;
};
