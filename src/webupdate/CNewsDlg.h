#pragma once

#include "base/VersionNumber.h"
#include "ui/CQuorvaneDialog.h"

#include <QByteArray>

class QTextEdit;

// The news window: the change description that the web update fetched (RTF), with its version
// markers replaced by one heading above the changes the installed version lacks and one above
// those it has. Read-only, with the caret at the start. Set the inputs, then run it modally.
class CNewsDlg final : public CQuorvaneDialog
{
    Q_OBJECT

public:
    explicit CNewsDlg(QWidget* parent = nullptr);

    void SetDescription(const QByteArray& rtf) { m_description = rtf; }
    // Each "\n" (backslash and n, as the version file writes it) becomes a line break.
    void SetHeadings(const QString& newText, const QString& oldText);
    void SetInstalledVersion(const VersionNumber& version) { m_installed = version; }

    QTextEdit* Editor() const { return m_editor; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();

    QTextEdit* m_editor = nullptr;
    QByteArray m_description;
    QString m_newHeading;
    QString m_oldHeading;
    VersionNumber m_installed;
    bool m_filled = false;
};
