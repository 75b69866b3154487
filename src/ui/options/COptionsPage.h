#pragma once

#include "ui/options/OptionBindings.h"

#include <QIcon>
#include <QWidget>

// Base of the Options sheet's six pages. A page shows the sheet's working copy of the settings
// (OptionsValues) through its bindings, one line per control. Its controls are made and filled the
// first time it is shown (Build, OnInitPage), so opening the sheet builds only the page it opens on;
// it brings its enabling up to date whenever it becomes the shown page (OnSetActive), and stores its
// values when it is left for another page or the sheet is confirmed (OnKillActive): a value it
// refuses keeps the page shown, with a message and the focus on that value, and nothing is lost of
// what was typed. A page never shown stores nothing, and its controls do not exist.
class COptionsPage : public QWidget
{
    Q_OBJECT

public:
    // caption: the tab's text with its Alt letter; icon: the tab's 16 × 16 picture.
    COptionsPage(OptionsValues& values, const QString& caption, const QString& icon, int helpTopic,
                 QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    QIcon TabIcon() const;
    int HelpTopic() const { return m_helpTopic; }
    bool IsInitialised() const { return m_initialised; }

    // The page becomes the shown page: filled the first time, then its enabling applied.
    void Activate();
    // The page is left (another page, or OK): stores its values; false keeps it shown. A page never
    // shown has nothing to store.
    bool Leave();

protected:
    // Makes the controls and binds them (m_bind). Called once, before OnInitPage.
    virtual void Build() = 0;
    // Fills the controls (the bindings' values, lists, colours). Called once, before the page is first shown.
    virtual void OnInitPage();
    // Applies the enabling rules. Called whenever the page becomes the shown page.
    virtual void OnSetActive() {}
    // Stores the values (the bindings, then the page's own checks); false keeps the page.
    virtual bool OnKillActive();

    OptionsValues& Values() const { return m_bind.Values(); }

    OptionBindings m_bind;

private:
    QString m_caption;
    QString m_icon;
    int m_helpTopic;
    bool m_initialised = false;
};
