#pragma once

#include "platform/IScreenEdgeDock.h"

#include <memory>

// The screen-edge docking of the platform the program runs on: X11ScreenEdgeDock on an X11 display,
// else a dock that reserves nothing and reads the other bands from the screen's available area.
std::unique_ptr<IScreenEdgeDock> CreateScreenEdgeDock();
