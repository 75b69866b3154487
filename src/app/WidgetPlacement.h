#pragma once

#include "base/WindowPlacementStore.h"

class QWidget;

// The widget side of the window placement: reading a top-level widget's placement, applying one,
// and the two calls the main window makes (restore at start-up, save when it closes).
//
//   // start-up, after the window is built:
//   if (!RestoreWidgetPlacement(WindowPlacementStore::MainWindowSection(), window,
//                               autostart ? ShowCommand::Hide : ShowCommand::NoOverride))
//       window.show();   // nothing stored, or stored off screen
//   // closing:
//   SaveWidgetPlacement(WindowPlacementStore::MainWindowSection(), window);

// The placement of a top-level widget: its normal geometry (the geometry it has, or returns to
// from maximised) and its state as show command: ShowMinimized, ShowMaximized or ShowNormal. A
// hidden window reports the state it will show in, never Hide, so that a program closed while it
// sat in the tray opens visibly the next time. The minimised and maximised positions are not known
// on Linux and read as -1.
WindowPlacement ReadWidgetPlacement(const QWidget& window);

// Gives the widget the normal rectangle, then shows it by the show command: Hide (0) leaves it
// hidden, ShowMinimized (2, and the other minimising commands 6, 7 and 11) minimises it (coming
// back maximised when the flags hold PlacementRestoreToMaximized), ShowMaximized (3) maximises it,
// every other command shows it normal.
void ApplyWidgetPlacement(QWidget& window, const WindowPlacement& placement);

// The screens a placement may land on: (0, 0, width, height) of the primary screen, then the
// geometry of every other screen.
QList<QRect> ScreenRectangles();

void SaveWidgetPlacement(const QString& section, const QWidget& window);

// Applies the stored placement with the show override; false when nothing was applied (nothing
// stored, or stored off every screen): then the caller shows the window itself.
bool RestoreWidgetPlacement(const QString& section, QWidget& window, int showOverride);
