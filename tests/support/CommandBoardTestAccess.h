#pragma once

#include "base/CommandBoard.h"

// Direct key states, for tests that start from a state no sequence of the
// board's transitions reaches cheaply, or that prove a transition leaves a
// key alone.
struct CommandBoardTestAccess
{
    static void setEnabled(CommandBoard &b, Command c, bool on) { b.setEnabled(c, on); }
    static void enable(CommandBoard &b, std::initializer_list<Command> list) { b.enable(list); }
    static void disable(CommandBoard &b, std::initializer_list<Command> list) { b.disable(list); }
};
