#pragma once

#include <QDialog>

// Base of the program's own modal dialogs (help text, gesture preview, news, web update and, through
// CIconDialog, About, Edit Stock, Edit Rule and Edit Announcements). While such a dialog is shown it
// counts as open in OpenDialogCount: counted when it is first shown, uncounted when it is hidden
// (closed by any means) or destroyed.
class CQuorvaneDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CQuorvaneDialog(QWidget* parent = nullptr);
    ~CQuorvaneDialog() override;

    // The number of the program's dialogs open now (OpenDialogCount::Instance().Count()).
    static int OpenCount();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Uncount();

    bool m_counted = false;
};
