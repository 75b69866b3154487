#pragma once

// Whether the reachability service's "disconnected" may hold a request back before it is sent. The
// service also says "disconnected" when the working connection is one it does not manage
// (ifupdown, systemd-networkd, a container), so on a network connection every request is tried and
// the transfer itself finds out whether the network works; so it is, too, while the system is to
// dial on the first request. Only on a dial-up connection that is not to be dialled ("Type"
// "Dialup", "AutoDial" off) does the answer count. Reads GetSettings().
bool ReachabilityHoldsRequestsBack();
