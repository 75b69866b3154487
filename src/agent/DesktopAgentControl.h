#pragma once

#include "agent/AgentControl.h"

#include <memory>

// The character engine for the desktop: each character in its own AgentWindow (with its balloon),
// its voice and its frames' sounds played on the default sound device (silently when there is none).
std::unique_ptr<AgentControl> CreateDesktopAgentControl();
