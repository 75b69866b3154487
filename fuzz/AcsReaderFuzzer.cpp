// Fuzzes the character file reader. Besides "no crash, no leak, no runaway allocation", every
// character the reader accepts must be valid, writable, and read back unchanged from what the
// writer makes of it.

#include "agent/AcsReader.h"
#include "agent/AcsWriter.h"

#include <cstdint>
#include <cstdlib>

namespace {

// What the writer is allowed to change: the voice and balloon flag bits follow the info, and state
// names are stored upper-case.
AcsCharacter Normalised(AcsCharacter character)
{
    AcsCharacterInfo& info = character.Info();
    info.styleFlags = AcsWriter::StyleFlagsFor(info);
    for (AcsState& state : info.states) {
        state.name = state.name.toUpper();
        for (QString& name : state.animations)
            name = name.toUpper();
    }
    return character;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Small limits keep each run fast; the checks are the same as with the real ones.
    AcsReader reader(AcsReadLimits{qint64(16) << 20, qint64(4) << 20, 512});
    const std::optional<AcsCharacter> character =
        reader.Read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!character) {
        if (reader.Error() == AcsReadError::None || reader.ErrorText().isEmpty())
            std::abort(); // a refusal must say why
        return 0;
    }
    if (!character->Validate().isEmpty())
        std::abort();

    AcsWriter writer(AcsWriteOptions{true, true, false});
    const std::optional<QByteArray> written = writer.Write(*character);
    if (!written)
        std::abort();
    const std::optional<AcsCharacter> again = AcsReader().Read(*written);
    if (!again || Normalised(*again) != Normalised(*character))
        std::abort();
    return 0;
}
