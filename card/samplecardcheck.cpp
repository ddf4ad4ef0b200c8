#include "card/samplecardcheck.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

bool CheckCardForDesign(int designWidth, int warpRepeat, int jacquardCount, QString *error)
{
    const qint64 d = designWidth, r = warpRepeat, c = jacquardCount;
    if (d >= 1 && r >= 1 && d <= c && c % (d * r) == 0)
        return true;
    // The lines are joined by a line feed and a carriage return, as the message has always
    // been written.
    const QString lineBreak = QStringLiteral("\n\r");
    return Fail(error,
        GetUiMessage(UiKey::String::SampleCardDesignJacquard).arg(designWidth) + lineBreak
            + GetUiMessage(UiKey::String::SampleCardDesignRepeat).arg(warpRepeat) + lineBreak
            + GetUiMessage(UiKey::String::SampleCardJacquardMultiple).arg(designWidth).arg(warpRepeat));
}

QString CardForDesignCaption()
{
    return GetUiMessage(UiKey::String::SampleCardSetJacquard);
}
