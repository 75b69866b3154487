#pragma once

#include <QString>

class QWidget;

// Brings the main window up for the user: restored if minimised (to maximised when it was
// maximised before), shown if hidden (by the close box or a hidden start), then raised and
// activated. Used by the "&Quorvane Window" command and when a second start asks the running copy
// to show itself (SingleInstance::ActivateRequested).
//
// activationToken: the token of the start that asked, handed to a Wayland compositor so that it lets
// the window take the focus; empty when there is none. Window managers with focus-stealing
// prevention may still only mark the window as demanding attention.
void BringWindowToFront(QWidget& window, const QString& activationToken = QString());
