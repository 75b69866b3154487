#pragma once

#include "ui/CHyperLink.h"

// A link whose click only marks it visited and tells its dialog (clicked()), which decides what
// happens: the web update's "View News" and "Download" links.
class CHyperLinkDL final : public CHyperLink
{
    Q_OBJECT

public:
    explicit CHyperLinkDL(const QString& text = {}, QWidget* parent = nullptr)
        : CHyperLink(text, parent)
    {}

protected:
    void Follow() override {}
};
