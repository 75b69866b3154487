#include "PennywitAnimations.h"

namespace Pennywit {

void BuildAllAnimations(CharacterDraft& draft)
{
    BuildRestPose(draft);
    BuildSpeaking(draft);
    BuildBlink(draft);
    BuildShowing(draft);
    BuildHiding(draft);
    BuildIdleRest(draft);
    BuildIdleWatch(draft);
    BuildIdlePolish(draft);
    BuildIdleTicker(draft);
    BuildIdleDoze(draft);
    BuildWave(draft);
    BuildThumbUp(draft);
    BuildMoneyShow(draft);
    BuildGraphUp(draft);
    BuildGraphDown(draft);
    BuildCalculator(draft);
    BuildSignSell(draft);
    BuildSignBuy(draft);
    BuildPotGold(draft);
    BuildCrash(draft);
    BuildBear(draft);
    BuildDance(draft);
    BuildBurn(draft);
    BuildAdvert(draft);
    BuildRead(draft);
    BuildMoveLeft(draft);
    BuildMoveRight(draft);
    BuildMoveUp(draft);
    BuildMoveDown(draft);
}

} // namespace Pennywit
