#pragma once

#include "agent/IToolWindowHints.h"

#include <memory>

// The tool-window hints of the platform the program runs on: X11ToolWindowHints on an X11 display,
// else hints that do nothing (no other platform lets a program ask this).
std::unique_ptr<IToolWindowHints> CreateToolWindowHints();
