#pragma once

// Whether the computer has a usable network connection at all: the check made before any request
// is sent. It only rules out the plainly offline case; the request itself finds everything else out.
class IReachability
{
public:
    virtual ~IReachability() = default;
    // false only when the system reports that the network is down.
    virtual bool IsConnected() = 0;
};
