#pragma once

#include "market/Stock.h"
#include "rules/CAnnouncement.h"
#include "ui/IPageHost.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A page host for tests: records what the pages ask of it.
class RecordingPageHost final : public IPageHost
{
public:
    void StartUpdateCycle() override { ++updateCycles; }
    void SayStock(const Stock& stock, bool force) override
    {
        saidStocks.push_back(stock.Name());
        lastSayForce = force;
    }
    void PlayAnnouncement(const CAnnouncement* announcement, const CRule* rule, bool force) override
    {
        played.push_back(announcement ? announcement->Name() : QString());
        lastPlayHadRule = rule != nullptr;
        lastPlayForce = force;
    }
    QStringList GetGestureList() override { return gestures; }
    void SetTrayAlertIcon(bool alert) override { trayAlert = alert; }
    void SetAlertCount(int count) override { alertCount = count; }
    void RebuildStrip() override { ++stripRebuilds; }
    void ShowHelpTopic(int topicId) override { helpTopics.push_back(topicId); }

    int updateCycles = 0;
    QStringList saidStocks;
    bool lastSayForce = false;
    QStringList played;
    bool lastPlayHadRule = false;
    bool lastPlayForce = false;
    QStringList gestures{QStringLiteral("(None)"), QStringLiteral("Wave"), QStringLiteral("Acknowledge")};
    std::optional<bool> trayAlert;
    int alertCount = -1;
    int stripRebuilds = 0;
    std::vector<int> helpTopics;
};
