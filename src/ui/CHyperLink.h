#pragma once

#include <QAbstractButton>

// A link in a dialog: underlined text in the link colour, another colour under the mouse and a
// third once visited, a pointing-hand cursor, a tooltip and keyboard focus (Space or Enter follows
// it). Following it marks it visited and opens its address in the browser; CHyperLinkDL leaves the
// action to its dialog (clicked()).
class CHyperLink : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CHyperLink(const QString& text = {}, QWidget* parent = nullptr);

    // The address opened when the link is followed.
    void SetLink(const QString& url) { m_link = url; }
    QString Link() const { return m_link; }

    bool IsVisited() const { return m_visited; }
    void SetVisited(bool visited);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    // What following the link does besides marking it visited: open Link() in the browser.
    virtual void Follow();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_link;
    bool m_visited = false;
    bool m_hovered = false;
};
