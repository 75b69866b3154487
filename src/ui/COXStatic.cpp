#include "ui/COXStatic.h"

#include <QApplication>

COXStatic::COXStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{}

void COXStatic::SetFontWeight(QFont::Weight weight)
{
    QFont font = QApplication::font(this);
    font.setWeight(weight);
    setFont(font);
}

void COXStatic::SetTextColor(const QColor& color)
{
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, color);
    setPalette(colors);
}
