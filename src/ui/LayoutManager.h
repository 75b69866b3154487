#pragma once

#include "ui/LayoutRule.h"

#include <QRect>
#include <QSize>

#include <span>

class QWidget;

// The dialog layout manager: solves a page's table of layout rules (LayoutRule.h) and moves and
// sizes the page's controls to match, so that lists grow with the page and buttons stay at its
// right or bottom edge. A page calls it from its resize handling:
//
//   void CStocksPage::resizeEvent(QResizeEvent* event)
//   {
//       QWidget::resizeEvent(event);
//       ApplyLayoutRules(this, GetLayout());
//   }
//
// Controls are found by an integer id, kept in the widget's dynamic property "controlId":
// SetControlId(button, 216) or button->setProperty("controlId", 216). The controls are the page's
// direct child widgets; one without an id has the id -1, and a control that no rule names keeps its
// place. When several children share an id, the first one (in the page's child order) counts.
//
// Offsets are in dialog units, converted with the page's font: the average character width is
// (width of "a…zA…Z" / 26 + 1) / 2 and the character height is the line height; x dialog units are
// x × width / 4 pixels and y units y × height / 8 pixels (rounded towards zero).
//
// Internal errors of a table are shown to the user (caption "Assertion Failed"): "Invalid action",
// "Invalid metric", "Invalid side", "Child not found in child list", "Unable to apply rules" and
// "Unable to apply rules to centered children"; a control whose place could not be worked out is
// reported as "Layout couldn't find <metric> of id=<id>" (caption: the program's path).

inline constexpr char kControlIdProperty[] = "controlId";

void SetControlId(QWidget* control, int id);
// The control, given the id: for making and naming a control in one expression.
template <typename T>
T* WithControlId(T* control, int id)
{
    SetControlId(control, id);
    return control;
}
// The control's id; -1 when it has none.
int ControlId(const QWidget* control);

// Applies the rules up to the end of the span or the first LayoutEnd row. Returns true when every
// control could be placed. Moves nothing and returns true when the page (or its window) is
// minimised or has no width or height; returns false when the page has no child widget, or when the
// table cannot be solved (then nothing moves either).
bool ApplyLayoutRules(QWidget* page, std::span<const LayoutRule> rules);

// The page's dialog base units: the average character width and the character height in pixels.
QSize DialogBaseUnits(const QWidget& page);
// A rectangle in dialog units converted to pixels (each side converted on its own, as a template's
// controls are placed).
QRect MapDialogRect(const QWidget& page, const QRect& dialogUnits);
