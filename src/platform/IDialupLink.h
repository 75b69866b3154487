#pragma once

// The link to the system's dial-up connections: whether one is up, and hanging it up. The program
// never dials itself; the first request makes the system dial when it is set up to.
class IDialupLink
{
public:
    virtual ~IDialupLink() = default;
    // Whether the system service that manages dial-up connections can be reached.
    virtual bool IsAvailable() = 0;
    // 1 when at least one dial-up connection is up, else 0 (also when the service is unavailable).
    virtual int IsDialupConnected() = 0;
    // Hangs up the first dial-up connection and waits until it is gone (at most about 3 seconds).
    // Does nothing when the service is unavailable or no dial-up connection is up.
    virtual void HangUp() = 0;
};
