#include "ui/HelpTopics.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Every Help button of the program and the overview command, by id.
constexpr int kExpectedIds[] = {61207, 61208, 61209, 61211, 61212, 61213, 61215,
                                61216, 61217, 61218, 61219, 61220, 61221, 61222};

class EveryTopic : public ::testing::TestWithParam<int>
{};

TEST_P(EveryTopic, HasAFewParagraphsOfPlainProse)
{
    const QString text = HelpTopics::Text(GetParam());
    ASSERT_FALSE(text.trimmed().isEmpty());
    EXPECT_GE(text.count(u"\n\n"_s), 1) << "more than one paragraph";
    EXPECT_FALSE(text.startsWith(u'\n') || text.endsWith(u'\n'));
    EXPECT_FALSE(text.contains(u"\n\n\n"_s));
    EXPECT_FALSE(text.contains(u'\r') || text.contains(u'\t'));
    // Read aloud by the character: a tag or a stray backslash would be spoken or acted on.
    EXPECT_FALSE(text.contains(u'\\'));
}

TEST_P(EveryTopic, SpeaksOfThisProgramOnly)
{
    const QString text = HelpTopics::Text(GetParam());
    static const QRegularExpression foreign(u"Microsoft|Windows|America Online|\\bAOL\\b|\\bAgent\\b"_s);
    EXPECT_FALSE(text.contains(foreign)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(HelpTopics, EveryTopic, ::testing::ValuesIn(kExpectedIds));

TEST(HelpTopics, TheTableHoldsExactlyTheProgramsTopicsInOrder)
{
    const std::span<const int> ids = HelpTopics::Ids();
    ASSERT_EQ(ids.size(), std::size(kExpectedIds));
    for (std::size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(ids[i], kExpectedIds[i]);
}

TEST(HelpTopics, EveryTextIsItsOwn)
{
    QSet<QString> texts;
    for (const int id : HelpTopics::Ids())
        texts.insert(HelpTopics::Text(id));
    EXPECT_EQ(texts.size(), qsizetype(HelpTopics::Ids().size()));
}

TEST(HelpTopics, UnknownTopicsHaveNoText)
{
    for (const int id : {0, -1, 61210, 61214, 61223, 128})
        EXPECT_TRUE(HelpTopics::Text(id).isEmpty()) << id;
}

TEST(HelpTopics, EachTopicExplainsItsSubject)
{
    // A word or two that the subject of each topic cannot be explained without.
    const std::pair<int, QStringList> subjects[] = {
        {61207, {u"Unsort"_s, u"Add Rule"_s, u"Disable"_s, u"column"_s}},
        {61208, {u"rule"_s, u"announcement"_s, u"Alerts"_s}},
        {61209, {u"Remove"_s, u"away"_s}},
        {61211, {u"Announcements button"_s, u"volume"_s}},
        {61212, {u"STOCK"_s, u"PRICE"_s, u"CHANGE"_s, u"gesture"_s}},
        {61213,
         {u"Country"_s, u"Stock Symbol"_s, u"Lookup Symbol"_s, u"Stock Name"_s, u"Say name as"_s, u"real time"_s}},
        {61215, {u"Shift"_s, u"bold"_s, u"alert"_s}},
        {61216, {u"bold"_s, u"seconds"_s, u"inactive"_s}},
        {61217, {u"30 minutes"_s, u"Quiet"_s, u"time"_s}},
        {61218, {u"once a minute"_s, u"just once"_s, u"Quiet"_s}},
        {61219, {u"primary country"_s, u"fractions"_s, u"log in"_s, u"active hours"_s}},
        {61220, {u"Pennywit"_s, u"character engine"_s, u".acs"_s, u"Preview"_s, u"pitch"_s}},
        {61221, {u"NetworkManager"_s, u"proxy"_s, u"dial-up"_s, u"user name and password"_s}},
        {61222, {u"Broadcast"_s, u"Options"_s, u"Hide"_s, u"Quiet"_s, u"Stocks"_s, u"Rules"_s, u"Alerts"_s}},
    };
    for (const auto& [id, words] : subjects) {
        const QString text = HelpTopics::Text(id);
        for (const QString& word : words)
            EXPECT_TRUE(text.contains(word, Qt::CaseInsensitive)) << id << ": " << word.toStdString();
    }
}

} // namespace
