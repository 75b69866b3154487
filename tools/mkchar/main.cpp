// mkchar: draws Pennywit and writes his character file.
//
//     mkchar Pennywit.acs                 writes the character
//     mkchar --preview DIR [Pennywit.acs] also writes a PNG contact sheet per animation

#include "PennywitAnimations.h"
#include "PennywitCharacter.h"
#include "PreviewSheet.h"

#include "agent/AcsWriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

int Fail(const QString& message)
{
    std::fprintf(stderr, "mkchar: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Draws Quorvane's character Pennywit and writes his character file."_s);
    parser.addHelpOption();
    const QCommandLineOption preview(u"preview"_s, u"Write PNG contact sheets of every animation to DIR."_s, u"DIR"_s);
    parser.addOption(preview);
    const QCommandLineOption previewScale(u"preview-scale"_s, u"Enlarge the contact sheets N times."_s, u"N"_s, u"1"_s);
    parser.addOption(previewScale);
    parser.addPositionalArgument(u"output"_s, u"The character file to write (Pennywit.acs)."_s);
    parser.process(app);

    const QStringList outputs = parser.positionalArguments();
    if (outputs.size() > 1 || (outputs.isEmpty() && !parser.isSet(preview))) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }

    Pennywit::CharacterDraft draft;
    Pennywit::BuildAllAnimations(draft);

    if (parser.isSet(preview)) {
        QString error;
        const int scale = std::clamp(parser.value(previewScale).toInt(), 1, 8);
        if (!PreviewSheet::WriteSheets(draft, parser.value(preview), scale, &error))
            return Fail(error);
    }
    if (!outputs.isEmpty()) {
        const AcsCharacter character = Pennywit::ToAcsCharacter(draft);
        const QString problem = character.Validate();
        if (!problem.isEmpty())
            return Fail(problem);
        AcsWriter writer;
        if (!writer.WriteFile(character, outputs.first()))
            return Fail(writer.ErrorText());
    }
    return 0;
}
