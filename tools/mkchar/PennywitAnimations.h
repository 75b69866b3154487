#pragma once

#include "CharacterDraft.h"

// Every animation of Pennywit, one function each. Gestures start and end on the rest pose and
// carry exit branches, so a gesture stopped half way still walks back to rest.
namespace Pennywit {

// Builds them all into `draft`, in the order the character file lists them.
void BuildAllAnimations(CharacterDraft& draft);

// States and how he shows up.
void BuildRestPose(CharacterDraft& draft);
void BuildSpeaking(CharacterDraft& draft);
void BuildBlink(CharacterDraft& draft);
void BuildShowing(CharacterDraft& draft);
void BuildHiding(CharacterDraft& draft);
void BuildMoveLeft(CharacterDraft& draft);
void BuildMoveRight(CharacterDraft& draft);
void BuildMoveUp(CharacterDraft& draft);
void BuildMoveDown(CharacterDraft& draft);

// Idle variations.
void BuildIdleWatch(CharacterDraft& draft);
void BuildIdlePolish(CharacterDraft& draft);
void BuildIdleTicker(CharacterDraft& draft);
void BuildIdleRest(CharacterDraft& draft);
void BuildIdleDoze(CharacterDraft& draft);

// Gestures.
void BuildWave(CharacterDraft& draft);
void BuildThumbUp(CharacterDraft& draft);
void BuildMoneyShow(CharacterDraft& draft);
void BuildGraphUp(CharacterDraft& draft);
void BuildGraphDown(CharacterDraft& draft);
void BuildCalculator(CharacterDraft& draft);
void BuildSignSell(CharacterDraft& draft);
void BuildSignBuy(CharacterDraft& draft);
void BuildPotGold(CharacterDraft& draft);
void BuildCrash(CharacterDraft& draft);
void BuildBear(CharacterDraft& draft);
void BuildDance(CharacterDraft& draft);
void BuildBurn(CharacterDraft& draft);
void BuildAdvert(CharacterDraft& draft);
void BuildRead(CharacterDraft& draft);

} // namespace Pennywit
