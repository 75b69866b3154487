#include "ui/PageTestSupport.h"

#include "ui/CEditAnnouncementsDlg.h"
#include "ui/CEditRuleDlg.h"
#include "ui/CEditStockDlg.h"
#include "ui/CQuorvaneDialog.h"
#include "ui/CRulesPage.h"
#include "ui/CStockListCtrl.h"
#include "ui/CStocksPage.h"
#include "ui/HelpTopics.h"
#include "ui/PageLayouts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class EditDialogsTest : public PageTest
{
protected:
    static QStringList AnnouncementNames()
    {
        QStringList names;
        for (int i = 0; i < GetAnnouncementCount(); ++i)
            names.append(GetAnnouncement(i)->Name());
        return names;
    }

    static QStringList ListTexts(const QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }
};

} // namespace

TEST_F(EditDialogsTest, NewStockStartsAsNewStockAndNeedsANameAndASymbol)
{
    int openWhileShown = -1;
    NextModal<CEditStockDlg> dialog([&](CEditStockDlg& d) {
        openWhileShown = CQuorvaneDialog::OpenCount();
        EXPECT_EQ(d.windowTitle(), u"New Stock"_s);
        EXPECT_EQ(d.CountryList()->currentText(), u"United States"_s);
        EXPECT_EQ(d.CountryList()->count(), 11);
        EXPECT_EQ(d.NameEdit()->text(), u"(New)"_s);
        EXPECT_EQ(d.NameEdit()->selectedText(), u"(New)"_s);
        EXPECT_EQ(d.focusWidget(), d.NameEdit());
        EXPECT_FALSE(d.OkButton()->isEnabled());
        EXPECT_FALSE(d.RealtimeText()->isHidden());
        EXPECT_EQ(d.RealtimeText()->text(), u"Realtime quote available"_s);
        EXPECT_FALSE(d.RealtimeIcon()->isHidden());
        EXPECT_FALSE(d.Flag()->pixmap().isNull());

        // Lookup with the name still "(New)": an empty name goes into the pattern.
        d.OnLookupSymbol();

        QTest::keyClicks(d.NameEdit(), u"Big Corp"_s); // overtypes the selected "(New)"
        EXPECT_EQ(d.NameEdit()->text(), u"Big Corp"_s);
        EXPECT_FALSE(d.OkButton()->isEnabled());
        QTest::keyClicks(d.SymbolEdit(), u"BIG"_s);
        EXPECT_TRUE(d.OkButton()->isEnabled());
        d.NameEdit()->setText(u"(New)"_s);
        EXPECT_FALSE(d.OkButton()->isEnabled());
        d.NameEdit()->setText(u"Big Corp"_s);
        QTest::keyClicks(d.SpokenNameEdit(), u"Big Corporation"_s);

        // Canada has no real-time quotes.
        d.CountryList()->setCurrentText(u"Canada"_s);
        EXPECT_TRUE(d.RealtimeText()->isHidden());
        EXPECT_TRUE(d.RealtimeIcon()->isHidden());
        d.OnLookupSymbol();
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    std::unique_ptr<Stock> stock = NewStock(host, nullptr);
    EXPECT_TRUE(dialog.Opened());
    EXPECT_EQ(openWhileShown, 1);
    EXPECT_EQ(CQuorvaneDialog::OpenCount(), 0);
    ASSERT_TRUE(stock);
    EXPECT_EQ(stock->Name(), u"Big Corp"_s);
    EXPECT_EQ(stock->SpokenName(), u"Big Corporation"_s);
    EXPECT_EQ(stock->Symbol(), u"BIG"_s);
    EXPECT_EQ(stock->Country(), u"Canada"_s);
    EXPECT_EQ(browser.urls,
              (QStringList{u"http://127.0.0.1:9/us/lookup?name="_s, u"http://127.0.0.1:9/ca/lookup?name=Big+Corp"_s}));
}

TEST_F(EditDialogsTest, TheDefaultCountryIsFoundByItsBeginningInAnyCase)
{
    GetSettings().defaultCountry = u"aus"_s;
    NextModal<CEditStockDlg> dialog([](CEditStockDlg& d) {
        EXPECT_EQ(d.CountryList()->currentText(), u"Australia & NZ"_s);
        d.reject();
    });
    EXPECT_FALSE(NewStock(host, nullptr));
    EXPECT_TRUE(dialog.Opened());
}

TEST_F(EditDialogsTest, RunStockEditorStoresOnOkOnly)
{
    Stock stock(u"Acme"_s, u"Acme"_s, u"ACME"_s, u"Germany"_s);
    NextModal<CEditStockDlg> cancel([](CEditStockDlg& d) {
        EXPECT_EQ(d.windowTitle(), u"Edit Stock"_s);
        EXPECT_EQ(d.CountryList()->currentText(), u"Germany"_s);
        EXPECT_TRUE(d.OkButton()->isEnabled());
        d.NameEdit()->setText(u"Changed"_s);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(RunStockEditor(stock, host, nullptr));
    EXPECT_EQ(stock.Name(), u"Acme"_s);

    NextModal<CEditStockDlg> ok([](CEditStockDlg& d) {
        d.SymbolEdit()->clear();
        EXPECT_FALSE(d.OkButton()->isEnabled());
        QTest::keyClicks(d.SymbolEdit(), u"ACM2"_s);
        QTest::keyClick(d.SymbolEdit(), Qt::Key_Return); // the default button: OK
    });
    EXPECT_TRUE(RunStockEditor(stock, host, nullptr));
    EXPECT_EQ(stock.Symbol(), u"ACM2"_s);
    EXPECT_EQ(stock.Country(), u"Germany"_s);

    NextModal<CEditStockDlg> help([](CEditStockDlg& d) {
        QTest::mouseClick(FindControl<QPushButton>(&d, 1105), Qt::LeftButton);
        d.reject();
    });
    RunStockEditor(stock, host, nullptr);
    EXPECT_EQ(host.helpTopics, std::vector<int>{61213});
}

TEST_F(EditDialogsTest, ACountryOfNoListEntryShowsNoRealtimeNote)
{
    Stock stock(u"Acme"_s, QString(), u"ACME"_s, u"Atlantis"_s);
    bool hidden = false;
    NextModal<CEditStockDlg> dialog([&](CEditStockDlg& d) {
        EXPECT_EQ(d.CountryList()->currentIndex(), -1);
        hidden = d.RealtimeText()->isHidden() && d.RealtimeIcon()->isHidden();
        d.reject();
    });
    RunStockEditor(stock, host, nullptr);
    EXPECT_TRUE(dialog.Opened());
    EXPECT_TRUE(hidden);
}

TEST_F(EditDialogsTest, TheStockHelpNamesTheDialogsOwnFields)
{
    CEditStockDlg dialog(host);
    const QString help = HelpTopics::Text(HelpTopics::EditStock);
    QStringList names;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->buddy())
            names.append(label->text().remove(u'&'));
    }
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text().endsWith(u" ..."_s)) // the dialog's own buttons, not OK, Cancel and Help
            names.append(button->text().remove(u'&').chopped(4));
    }
    names.append(dialog.RealtimeText()->text());
    ASSERT_EQ(names.size(), 6);
    for (const QString& name : names)
        EXPECT_TRUE(help.contains(name)) << name.toStdString();
}

TEST_F(EditDialogsTest, AddRuleFromTheStocksPageKeepsTheCaptionAndChoosesNoAnnouncement)
{
    AddStock(u"Acme"_s);
    AddStock(u"Beta"_s);
    AddAnnouncement(u"Cheer"_s);
    QWidget window;
    auto* stocks = new CStocksPage(host, &window);
    auto* rules = new CRulesPage(host, &window);
    stocks->SetRulesPage(rules);
    window.show();
    rules->Fill();
    stocks->Fill();
    stocks->List()->SelectOnly(1);

    NextModal<CEditRuleDlg> dialog([](CEditRuleDlg& d) {
        EXPECT_EQ(d.windowTitle(), u"Edit Rule"_s);
        EXPECT_EQ(d.StockList()->currentText(), u"Beta"_s);
        EXPECT_EQ(d.AttributeList()->currentText(), u"Price"_s);
        EXPECT_EQ(d.OperatorList()->currentText(), u">"_s);
        EXPECT_EQ(d.AnnouncementList()->currentIndex(), -1);
        EXPECT_EQ(d.AnnouncementList()->count(), 1);
        QTest::keyClicks(d.NumberEdit(), u"12"_s);
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    QTest::mouseClick(stocks->Button(StocksPageIds::AddRule), Qt::LeftButton);
    EXPECT_TRUE(dialog.Opened());
    ASSERT_EQ(GetRuleCount(), 1);
    EXPECT_EQ(GetRule(0)->Description(), u"Beta (Price) > 12"_s);
    EXPECT_EQ(GetRule(0)->Announcement(), QString());
}

TEST_F(EditDialogsTest, EditRulePreviewsAndClearsTheNumberHint)
{
    AddStock(u"Acme"_s);
    AddAnnouncement(u"Cheer"_s);
    AddAnnouncement(u"Grumble"_s);
    CEditRuleDlg dialog(host);
    dialog.stockName = u"Acme"_s;
    dialog.attribute = u"Volume"_s;
    dialog.operatorText = u"<="_s;
    dialog.number = u"100"_s;
    dialog.announcement = u"Grumble"_s;
    NextModal<CEditRuleDlg> run([](CEditRuleDlg& d) {
        EXPECT_EQ(d.AttributeList()->currentText(), u"Volume"_s);
        EXPECT_EQ(d.OperatorList()->currentText(), u"<="_s);
        EXPECT_EQ(d.AnnouncementList()->currentText(), u"Grumble"_s);
        EXPECT_TRUE(d.Hint()->isHidden());
        EXPECT_TRUE(d.Hint()->font().bold());
        EXPECT_EQ(d.Hint()->palette().color(QPalette::WindowText), QColor(173, 20, 20));
        d.OnPreview();
        d.NumberEdit()->clear();
        EXPECT_FALSE(d.OkButton()->isEnabled());
        EXPECT_FALSE(d.Hint()->isHidden());
        QTest::keyClicks(d.NumberEdit(), u"abc"_s);
        d.AnnouncementList()->setCurrentIndex(0);
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(host.played, QStringList{u"Grumble"_s});
    EXPECT_TRUE(host.lastPlayForce);
    EXPECT_FALSE(host.lastPlayHadRule);
    EXPECT_EQ(dialog.stockName, u"Acme"_s);
    EXPECT_EQ(dialog.attribute, u"Volume"_s);
    EXPECT_EQ(dialog.operatorText, u"<="_s);
    EXPECT_EQ(dialog.number, u"abc"_s);
    EXPECT_EQ(dialog.announcement, u"Cheer"_s);
}

TEST_F(EditDialogsTest, AnnouncementsRoundTripRefillsTheRuleDialogsList)
{
    AddStock(u"Acme"_s);
    AddAnnouncement(u"Cheer"_s);
    AddAnnouncement(u"Grumble"_s);
    CEditRuleDlg dialog(host);
    dialog.stockName = u"Acme"_s;
    dialog.announcement = u"Grumble"_s;
    QStringList afterwards;
    QString selectedAfterwards;
    NextModal<CEditRuleDlg> run([&](CEditRuleDlg& d) {
        NextModal<CEditAnnouncementsDlg> announcements([](CEditAnnouncementsDlg& a) {
            EXPECT_EQ(a.List()->currentItem()->text(), u"Grumble"_s); // preset from the rule dialog
            a.OnAdd();
            QTest::mouseClick(FindControl<QPushButton>(&a, 1), Qt::LeftButton); // Close
        });
        QTest::mouseClick(FindControl<QPushButton>(&d, 234), Qt::LeftButton);
        EXPECT_TRUE(announcements.Opened());
        for (int i = 0; i < d.AnnouncementList()->count(); ++i)
            afterwards.append(d.AnnouncementList()->itemText(i));
        selectedAfterwards = d.AnnouncementList()->currentText();
        d.reject();
    });
    dialog.exec();
    EXPECT_EQ(afterwards, (QStringList{u"Cheer"_s, u"(New)"_s, u"Grumble"_s}));
    EXPECT_EQ(selectedAfterwards, u"Grumble"_s);
}

TEST_F(EditDialogsTest, AddTwiceMakesOneNewAnnouncementWithTheDefaultTexts)
{
    AddAnnouncement(u"Cheer"_s);
    CEditAnnouncementsDlg dialog(host);
    NextModal<CEditAnnouncementsDlg> run([this](CEditAnnouncementsDlg& d) {
        EXPECT_FALSE(d.RemoveButton()->isEnabled()); // a single announcement is never removed
        EXPECT_TRUE(d.PreviewButton()->isEnabled());
        EXPECT_EQ(d.GestureBeforeList()->itemText(0), u"(None)"_s);
        EXPECT_EQ(d.GestureBeforeList()->itemText(1), u"Acknowledge"_s); // sorted
        EXPECT_EQ(d.GestureAfterList()->currentText(), u"Wave"_s);

        QTest::mouseClick(FindControl<QPushButton>(&d, 238), Qt::LeftButton);
        EXPECT_EQ(ListTexts(d.List()), (QStringList{u"(New)"_s, u"Cheer"_s}));
        EXPECT_EQ(d.List()->currentRow(), 0);
        EXPECT_EQ(d.NameEdit()->text(), u"(New)"_s);
        EXPECT_EQ(d.NameEdit()->selectedText(), u"(New)"_s);
        EXPECT_EQ(d.SayBeforeEdit()->toPlainText(), u"STOCK has reached the target price you have specified."_s);
        EXPECT_EQ(d.SayAfterEdit()->text(), u"STOCK is now PRICE."_s);
        EXPECT_EQ(d.GestureBeforeList()->currentText(), u"(None)"_s);
        EXPECT_TRUE(d.RemoveButton()->isEnabled());

        d.List()->setCurrentRow(1);
        QTest::mouseClick(FindControl<QPushButton>(&d, 238), Qt::LeftButton);
        EXPECT_EQ(ListTexts(d.List()), (QStringList{u"(New)"_s, u"Cheer"_s}));
        EXPECT_EQ(d.List()->currentRow(), 0);
        EXPECT_EQ(AnnouncementNames(), (QStringList{u"(New)"_s, u"Cheer"_s}));

        // Editing the name renames the list entry at once.
        d.NameEdit()->selectAll();
        QTest::keyClicks(d.NameEdit(), u"Hooray"_s);
        EXPECT_EQ(ListTexts(d.List()), (QStringList{u"Hooray"_s, u"Cheer"_s}));

        QTest::mouseClick(d.PreviewButton(), Qt::LeftButton);
        EXPECT_EQ(host.played, QStringList{u"Hooray"_s});
        EXPECT_TRUE(host.lastPlayForce);
        EXPECT_FALSE(host.lastPlayHadRule);
        QTest::mouseClick(FindControl<QPushButton>(&d, 233), Qt::LeftButton);
        EXPECT_EQ(host.helpTopics, std::vector<int>{61212});
    });
    dialog.exec();
    EXPECT_EQ(AnnouncementNames(), (QStringList{u"Hooray"_s, u"Cheer"_s}));
    EXPECT_TRUE(ReadDataFile(u"Announce"_s).contains(u"Hooray"_s));
}

TEST_F(EditDialogsTest, EscapeStillSavesTheShownAnnouncement)
{
    AddAnnouncement(u"Cheer"_s);
    AddAnnouncement(u"Grumble"_s);
    CEditAnnouncementsDlg dialog(host);
    dialog.presetName = u"gr"_s;
    NextModal<CEditAnnouncementsDlg> run([](CEditAnnouncementsDlg& d) {
        EXPECT_EQ(d.CurrentIndex(), 1);
        d.SayAfterEdit()->setText(u"STOCK fell to PRICE."_s);
        d.GestureBeforeList()->setCurrentText(u"Acknowledge"_s);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    dialog.exec();
    EXPECT_TRUE(run.Opened());
    EXPECT_EQ(GetAnnouncement(1)->SayAfter(), u"STOCK fell to PRICE."_s);
    EXPECT_EQ(GetAnnouncement(1)->GestureBefore(), u"Acknowledge"_s);
    EXPECT_TRUE(ReadDataFile(u"Announce"_s).contains(u"STOCK fell to PRICE."_s));
}

TEST_F(EditDialogsTest, RemoveDropsTheShownAnnouncementAndKeepsAGestureTheCharacterLacks)
{
    AddAnnouncement(u"Cheer"_s);
    AddAnnouncement(u"Grumble"_s);
    GetAnnouncement(1)->SetGestureAfter(u"Somersault"_s); // not one of the character's
    CEditAnnouncementsDlg dialog(host);
    NextModal<CEditAnnouncementsDlg> run([](CEditAnnouncementsDlg& d) {
        EXPECT_EQ(d.CurrentIndex(), 0);
        QTest::mouseClick(d.RemoveButton(), Qt::LeftButton);
        EXPECT_EQ(ListTexts(d.List()), QStringList{u"Grumble"_s});
        EXPECT_EQ(d.CurrentIndex(), 0);
        EXPECT_EQ(d.NameEdit()->text(), u"Grumble"_s);
        EXPECT_EQ(d.GestureAfterList()->currentIndex(), -1);
        EXPECT_FALSE(d.RemoveButton()->isEnabled());
        d.accept();
    });
    dialog.exec();
    EXPECT_EQ(AnnouncementNames(), QStringList{u"Grumble"_s});
    EXPECT_EQ(GetAnnouncement(0)->GestureAfter(), u"Somersault"_s);
    const QString file = ReadDataFile(u"Announce"_s);
    EXPECT_FALSE(file.contains(u"Cheer"_s));
    EXPECT_TRUE(file.contains(u"Somersault"_s));
}
