#include "card/builtcard.h"

#include <algorithm>

void SetBuiltCard(TWenBanIO &io, const TMultiByteArray &card, const TYangkaImage &sampleCard)
{
    io.Card = card;
    io.CardCount = std::uint16_t(std::min<qint64>(card.length(), 65535));
    io.ColCount = sampleCard.ColCount();
    io.RowCount = sampleCard.RowCount();
    io.YKStyle = sampleCard.YKStyle();
    io.YKWidth = sampleCard.Width;
    io.YKHeight = sampleCard.Height;
    io.Holes = sampleCard.Holes;
    io.JacquardCount = std::uint16_t(std::min(sampleCard.JacquardCount(), 65535));
}
