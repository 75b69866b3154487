// A first run: the program asks through the setup wizard before it starts.

#include "FrameTestSupport.h"
#include "ui/PageTestSupport.h"

#include "market/StockList.h"
#include "ui/wizard/CSetupWizard.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

using namespace Qt::StringLiterals;

TEST_F(FrameTest, AFirstRunStartsOnlyThroughTheWizardWithTheChosenCountrysIndices)
{
    m_setupWizard = nullptr;
    NextModal<CSetupWizard> cancel([](CSetupWizard& wizard) { wizard.reject(); });
    EXPECT_FALSE(Start()) << "a cancel ends the start-up";
    EXPECT_TRUE(cancel.Opened());
    EXPECT_EQ(Frame(), nullptr);
    m_app.reset();

    NextModal<CSetupWizard> finish([](CSetupWizard& wizard) {
        wizard.next();
        wizard.CountryList()->setCurrentText(u"Germany"_s);
        wizard.next();
        wizard.LanButton()->click();
        wizard.next();
        wizard.AutoStartBox()->setChecked(false);
        wizard.next();
        wizard.button(QWizard::FinishButton)->click();
    });
    NoScheduledWork();
    StartAndSettle();
    EXPECT_TRUE(finish.Opened()) << "the wizard comes again after a cancel";
    ASSERT_GE(StockList::Count(), 2);
    EXPECT_EQ(StockList::At(0)->Name(), u"DAX 30"_s);
    EXPECT_EQ(StoredOption(u"Connection"_s, u"Type"_s).toString(), u"LAN"_s);
}
