#pragma once

#include "agent/IAgentCharacter.h"

#include <QString>

// The character engine as the character manager uses it: characters are loaded from .acs files
// under an id of the caller's choosing and reached through that id. The desktop program gets one
// from CreateDesktopAgentControl() (the character windows, the sound card); tests build an
// AgentControl with a recording view.
//
// UI thread only.
class IAgentControl
{
public:
    // The status of a Load.
    static constexpr int LoadOk = 0;          // loaded
    static constexpr int LoadFileError = 1;   // the file is missing or cannot be read
    static constexpr int LoadFormatError = 2; // not a character file, or a damaged one
    static constexpr int LoadIdInUse = 3;     // a character is already loaded under this id

    virtual ~IAgentControl() = default;

    // Loads the character file at path under id and returns its status: LoadOk, or one of the
    // failures above (nothing is loaded then). The file is read completely before Load returns. A
    // loaded character starts hidden. When errorText is given, it receives a sentence describing a
    // failure (empty on success), for tools and logs.
    virtual int Load(const QString& id, const QString& path, QString* errorText = nullptr) = 0;

    // Unloads the character loaded under id: its requests are dropped, its window and voice go. An
    // id with nothing loaded is ignored. Any IAgentCharacter pointer obtained for the id becomes
    // invalid.
    virtual void Unload(const QString& id) = 0;

    // The character loaded under id, or nullptr when none is. The pointer stays valid until that id
    // is unloaded or the control is destroyed.
    virtual IAgentCharacter* Character(const QString& id) = 0;
};
