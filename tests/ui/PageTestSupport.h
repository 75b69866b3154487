#pragma once

#include "base/AppPaths.h"
#include "base/CSettings.h"
#include "market/Stock.h"
#include "market/StockList.h"
#include "platform/IBrowserLauncher.h"
#include "rules/AlertList.h"
#include "rules/AnnouncementList.h"
#include "rules/CAnnouncement.h"
#include "rules/CRule.h"
#include "rules/CompanionValues.h"
#include "rules/RuleList.h"
#include "support/RecordingMessagePresenter.h"
#include "support/TestEnvironment.h"
#include "ui/LayoutManager.h"
#include "ui/PageBrowser.h"
#include "ui/RecordingPageHost.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A browser launcher that opens nothing and records the links.
class RecordingBrowserLauncher final : public IBrowserLauncher
{
public:
    void OpenWithDesktop(const QString& url, Done done) override
    {
        urls.append(url);
        done(true);
    }
    void OpenWithDefaultBrowser(const QString& url, Done done) override
    {
        urls.append(url);
        done(true);
    }
    QStringList urls;
};

// The control of a window with this id (SetControlId), cast to T; null when there is none.
template <typename T>
T* FindControl(const QWidget* window, int id)
{
    const QList<QWidget*> children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (ControlId(child) == id) {
            if (auto* control = qobject_cast<T*>(child))
                return control;
        }
    }
    return nullptr;
}

// Runs `action` on the next modal dialog of type D as soon as it is open (the code under test is
// then inside the dialog's exec()). A dialog that the action leaves open is rejected after it. If no
// such dialog opens within a few seconds the wait ends and `opened` stays false.
template <typename D>
class NextModal
{
public:
    explicit NextModal(std::function<void(D&)> action)
        : m_state(std::make_shared<State>())
    {
        auto state = m_state;
        state->timer.setInterval(2);
        // The timer's slot holds the state weakly: holding it strongly would keep both alive forever.
        const std::weak_ptr<State> weak = state;
        QObject::connect(&state->timer, &QTimer::timeout, &state->timer, [weak, action] {
            const std::shared_ptr<State> state = weak.lock();
            if (!state)
                return;
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            if (!dialog) {
                if (++state->ticks > 2500)
                    state->timer.stop();
                return;
            }
            state->timer.stop();
            state->opened = true;
            action(*dialog);
            if (dialog->isVisible() && QApplication::activeModalWidget() == dialog)
                dialog->reject();
        });
        state->timer.start();
    }

    bool Opened() const { return m_state->opened; }

private:
    struct State
    {
        QTimer timer;
        int ticks = 0;
        bool opened = false;
    };
    std::shared_ptr<State> m_state;
};

// Every page test starts with empty lists, its own data folder and settings, and no sort.
class PageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetLists();
        GetSettings().SetDefaults(false);
        GetSettings().defaultCountry = QStringLiteral("United States");
        StoreStockSortCriteria(0);
        StoreStockSortOrder(0);
        RecordingMessagePresenter::Instance().Clear();
        SetPageBrowserLauncher(&browser);
    }

    void TearDown() override
    {
        SetPageBrowserLauncher(nullptr);
        ResetLists();
    }

    static void ResetLists()
    {
        StockList::DeleteAll();
        DeleteAllRules();
        RemoveAllAlerts();
        DeleteAllAnnouncements();
    }

    // A stock with a quote (price, change, percent, volume) unless price is empty.
    static Stock* AddStock(const QString& name, const QString& price = {}, const QString& change = {},
                           const QString& percent = {}, const QString& volume = {}, qint32 when = 0)
    {
        auto stock = std::make_unique<Stock>(name, name, name.left(4).toUpper(), QStringLiteral("United States"));
        if (!price.isEmpty()) {
            stock->SetPrice(price, false);
            stock->SetChange(change, false);
            stock->SetPercent(percent);
            stock->SetVolume(volume);
            stock->SetQuoteTime(when);
        }
        Stock* added = stock.get();
        StockList::Append(std::move(stock));
        return added;
    }

    static CRule* AddRuleFor(const QString& stockName, const QString& number, const QString& announcement = {})
    {
        auto rule = std::make_unique<CRule>();
        rule->SetStockName(stockName);
        rule->SetAttribute(QStringLiteral("Price"));
        rule->SetOperator(CRule::Greater);
        rule->SetNumber(number);
        rule->SetAnnouncement(announcement);
        CRule* added = rule.get();
        InsertRule(GetRuleCount(), std::move(rule));
        return added;
    }

    static void AddAnnouncement(const QString& name)
    {
        auto announcement = std::make_unique<CAnnouncement>();
        announcement->SetName(name);
        announcement->SetGestureBefore(CAnnouncement::NoGesture());
        announcement->SetSayBefore(QStringLiteral("STOCK moved."));
        announcement->SetGestureAfter(QStringLiteral("Wave"));
        announcement->SetSayAfter(QStringLiteral("STOCK is now PRICE."));
        InsertAnnouncement(GetAnnouncementCount(), std::move(announcement));
    }

    static QString ReadDataFile(const QString& name)
    {
        QFile file(AppPaths::DataFile(name, QStringLiteral(".csv")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll());
    }

    static bool DataFileExists(const QString& name)
    {
        return QFile::exists(AppPaths::DataFile(name, QStringLiteral(".csv")));
    }

    TestEnvironment environment;
    RecordingPageHost host;
    RecordingBrowserLauncher browser;
};
