#pragma once

#include <QWizardPage>

#include <functional>

class COXStatic;
class QVBoxLayout;

// One page of the setup wizard: the program icon at the top left, the page's title in bold beside
// it, the page's own controls below, and what the page does when it is shown and when Next (or
// Finish) leaves it.
class CWizPage : public QWizardPage
{
    Q_OBJECT

public:
    // caption: the wizard's window title while the page is shown.
    CWizPage(const QString& caption, const QString& title, QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    COXStatic* Title() const { return m_title; }
    // Where the page's controls go.
    QVBoxLayout* Body() const { return m_body; }

    // Every time the page becomes the shown one (also when Back returns to it).
    std::function<void()> onShown;
    // Next or Finish leaves the page.
    std::function<void()> onNext;

    bool validatePage() override;

private:
    QString m_caption;
    COXStatic* m_title = nullptr;
    QVBoxLayout* m_body = nullptr;
};
