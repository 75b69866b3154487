#pragma once

#include "CharacterDraft.h"

#include "agent/AcsCharacter.h"

#include <QStringList>

// Pennywit as a complete character: the drawn animations and images plus everything the character
// file says about him (name, palette, balloon, voice, states).
namespace Pennywit {

// Draws every animation and returns the whole character, ready for AcsWriter.
AcsCharacter BuildCharacter();

// The character made of an already drawn draft.
AcsCharacter ToAcsCharacter(const CharacterDraft& draft);

// His name, description, palette, balloon, voice and states.
AcsCharacterInfo CharacterInfo();

// The gestures the program plays by name (the about script and the help reader).
QStringList GestureNames();

} // namespace Pennywit
