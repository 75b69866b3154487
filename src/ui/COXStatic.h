#pragma once

#include <QFont>
#include <QLabel>

// A static text with its own font weight and text colour: the setup wizard's bold page titles.
class COXStatic : public QLabel
{
    Q_OBJECT

public:
    explicit COXStatic(const QString& text = {}, QWidget* parent = nullptr);

    // The application's font with this weight (the wizard's titles use QFont::Bold).
    void SetFontWeight(QFont::Weight weight);
    void SetTextColor(const QColor& color);
};
