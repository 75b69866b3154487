#pragma once

#include "platform/IReachability.h"

// Reachability as the desktop reports it (QNetworkInformation: NetworkManager, else GLib's network
// monitor). Only "Disconnected" counts as no connection; "Unknown", local-only and site-only
// networks, and a system without any backend all count as connected, so that the request decides.
class SystemReachability final : public IReachability
{
public:
    // Loads the platform backend on first use. Call it on the main thread first (the backend is a
    // process-wide object); from another thread an unloaded backend counts as connected.
    bool IsConnected() override;

    // The process-wide instance.
    static SystemReachability& Instance();

    // Loads the backend now (main thread); true when one was loaded.
    static bool LoadBackend();
};
