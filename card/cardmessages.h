#pragma once
// CardMsg: the fixed texts of card output (纹板), keys of the interface texts.

#include "core/settings/uikeys.h"

namespace CardMsg {
inline constexpr TUiMessageKey NoJacquardNeedles = UiKey::String::CardNoJacquardNeedles;
inline constexpr TUiMessageKey NoValidData = UiKey::String::CardNoValidData;
inline constexpr TUiMessageKey ChooseFirstPart = UiKey::String::CardChooseFirstPart;
inline constexpr TUiMessageKey UnknownFormat = UiKey::String::CardUnknownFormat;
inline constexpr TUiMessageKey NeedleCountNot144 = UiKey::String::CardNeedlesNot144;
} // namespace CardMsg
