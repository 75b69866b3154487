#include "market/CsvRecord.h"

#include <QStringList>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList ReadAll(const QString& line, int fields)
{
    CsvRecord record;
    record.line = line;
    QStringList result;
    for (int i = 0; i < fields; ++i)
        result.append(record.ReadField());
    return result;
}

struct ReadCase
{
    const char* name;
    QString line;
    QStringList fields;
};

class ReadFieldTest : public ::testing::TestWithParam<ReadCase>
{};

TEST_P(ReadFieldTest, SplitsTheLine)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(ReadAll(c.line, int(c.fields.size())), c.fields) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    QuotingRules, ReadFieldTest,
    ::testing::Values(
        ReadCase{"plain", u"a,b,c"_s, {u"a"_s, u"b"_s, u"c"_s}},
        ReadCase{"comma in quotes", uR"("Smith, Jones & Co",SJ)"_s, {u"Smith, Jones & Co"_s, u"SJ"_s}},
        ReadCase{"doubled quotes in a quoted field", uR"("say ""hi"", now",x)"_s, {uR"(say "hi", now)"_s, u"x"_s}},
        ReadCase{"doubled quotes unquoted", uR"(The ""Big"" One,x)"_s, {uR"(The "Big" One)"_s, u"x"_s}},
        ReadCase{"lone quote unquoted is dropped", uR"(O"Neil,x)"_s, {u"ONeil"_s, u"x"_s}},
        ReadCase{"text after the closing quote stays", uR"("ab"cd,e)"_s, {u"abcd"_s, u"e"_s}},
        ReadCase{"empty fields", u",,x,"_s, {u""_s, u""_s, u"x"_s, u""_s}},
        ReadCase{"empty quoted field", uR"("",x)"_s, {u""_s, u"x"_s}},
        ReadCase{"unterminated quote runs to the end", uR"("a,b)"_s, {u"a,b"_s, u""_s}},
        ReadCase{"past the end", u"a"_s, {u"a"_s, u""_s, u""_s}}, ReadCase{"empty line", u""_s, {u""_s, u""_s}},
        ReadCase{"spaces are kept", u" a , b "_s, {u" a "_s, u" b "_s}},
        ReadCase{"quote in the middle of a quoted field ends nothing", uR"("a"",b",c)"_s, {uR"(a",b)"_s, u"c"_s}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) {
        std::string name = info.param.name;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(CsvRecord, AppendFieldQuotesAndDoubles)
{
    CsvRecord record;
    record.AppendField(u"Smith, Jones & Co"_s);
    record.AppendField(uR"(The "Big" One)"_s);
    record.AppendField(u"plain"_s);
    EXPECT_EQ(record.line, uR"("Smith, Jones & Co",The ""Big"" One,plain)"_s);
}

TEST(CsvRecord, AppendFieldNeverQuotesForAQuoteAlone)
{
    CsvRecord record;
    record.AppendField(u"x"_s);
    record.AppendField(uR"(a"b)"_s);
    EXPECT_EQ(record.line, uR"(x,a""b)"_s);
}

TEST(CsvRecord, AnEmptyFirstFieldKeepsItsSeparator)
{
    // Deciding the comma by "line is empty" would shift every later field of a record whose first
    // field is empty.
    CsvRecord record;
    record.AppendField(u""_s);
    record.AppendField(u""_s);
    record.AppendField(u"^DJI"_s);
    EXPECT_EQ(record.line, u",,^DJI"_s);
    EXPECT_EQ(ReadAll(record.line, 3), (QStringList{u""_s, u""_s, u"^DJI"_s}));
}

TEST(CsvRecord, ClearingTheLineStartsAFreshRecord)
{
    CsvRecord record;
    record.AppendField(u"a"_s);
    record.AppendField(u"b"_s);
    record.line.clear(); // as a Format that clears the line by hand
    record.AppendField(u"c"_s);
    EXPECT_EQ(record.line, u"c"_s);
    record.ClearLine();
    record.AppendField(u""_s);
    record.AppendField(u"d"_s);
    EXPECT_EQ(record.line, u",d"_s);
}

TEST(CsvRecord, LineBreaksBecomeSpaces)
{
    CsvRecord record;
    record.AppendField(u"one\r\ntwo\nthree\rfour"_s);
    EXPECT_EQ(record.line, u"one two three four"_s);
}

TEST(CsvRecord, EveryTextRoundTrips)
{
    const QStringList texts = {
        u""_s,           u"\""_s,    u"\"\""_s,         u","_s,           u"\","_s,         u",\""_s,
        u"\"Big\" Co"_s, u"a\",b"_s, u"Smith, Jones"_s, u"end quote\""_s, u"\"start"_s,     u"  "_s,
        u"é ü 株"_s,     u"a,,b"_s,  u"\"\",\"\""_s,    u"x\"y\"z"_s,     u"\",\",\",\""_s,
    };
    for (const QString& first : texts) {
        for (const QString& second : texts) {
            CsvRecord record;
            record.AppendField(first);
            record.AppendField(second);
            record.AppendField(u"tail"_s);
            EXPECT_EQ(ReadAll(record.line, 3), (QStringList{first, second, u"tail"_s}))
                << "line: " << qPrintable(record.line);
        }
    }
}

class Pair : public CsvRecord
{
public:
    bool Parse() override
    {
        ResetCursor();
        first = ReadField();
        second = ReadField();
        return true;
    }
    bool Format() override
    {
        ClearLine();
        AppendField(first);
        AppendField(second);
        return true;
    }
    QString first, second;
};

TEST(CsvRecord, ReadRecordYieldsEveryLineAndStopsAtTheEnd)
{
    QString text = u"a,b\r\n\r\n\"c,d\",e\nlast"_s;
    QTextStream in(&text);
    QStringList seen;
    Pair pair;
    while (pair.ReadRecord(in))
        seen.append(pair.first + u'|' + pair.second);
    EXPECT_EQ(seen, (QStringList{u"a|b"_s, u"|"_s, u"c,d|e"_s, u"last|"_s}));
}

TEST(CsvRecord, WriteRecordEndsTheLineWithCrLf)
{
    QString text;
    QTextStream out(&text);
    Pair pair;
    pair.first = u"x,y"_s;
    pair.second = u"z"_s;
    pair.WriteRecord(out);
    out.flush();
    EXPECT_EQ(text, u"\"x,y\",z\r\n"_s);
}

} // namespace
