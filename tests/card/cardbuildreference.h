#pragma once
// The reference card builder of the byte-equality tests (the builder before its speed-up).

#include "card/cardbuild.h"

bool ReferenceBuildCardData(const TMesh &mesh, const TYangkaImage &sampleCard, int scanStart,
    TMultiByteArray &card, TCardBuildResult &result, const TCardProgress &progress,
    const TNeedleMaskTable &pickTable, const TNeedleMaskTable &weftDensTable);
