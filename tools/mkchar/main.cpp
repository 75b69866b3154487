// mkchar: draws Pennywit and writes his character file.

#include "CharacterDraft.h"
#include "PennywitAnimations.h"
#include "PreviewSheet.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Draws Quorvane's character Pennywit and writes Pennywit.acs."_s);
    parser.addHelpOption();
    const QCommandLineOption preview(u"preview"_s, u"Also write PNG contact sheets of every animation to DIR."_s,
                                     u"DIR"_s);
    parser.addOption(preview);
    const QCommandLineOption previewScale(u"preview-scale"_s, u"Enlarge the contact sheets N times."_s, u"N"_s,
                                          u"1"_s);
    parser.addOption(previewScale);
    parser.addPositionalArgument(u"output"_s, u"The character file to write."_s);
    parser.process(app);

    Pennywit::CharacterDraft draft;
    Pennywit::BuildAllAnimations(draft);

    if (parser.isSet(preview)) {
        QString error;
        if (!PreviewSheet::WriteSheets(draft, parser.value(preview), std::max(1, parser.value(previewScale).toInt()), &error)) {
            std::fprintf(stderr, "mkchar: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
