// Texts of the pages that end a card: what the pass button does next.
#pragma once

inline constexpr const char kTextNextCard[] = "测试下一块卡";
inline constexpr const char kTextPowerOff[] = "关闭电脑";
inline constexpr const char kTextRestart[] = "重启程序";
// The end of the run without a power-off: the text the EEPROM page closes with.
inline constexpr const char kTextClose[] = "关 闭";
inline constexpr const char kFormatPowerOffIn[] = "电脑即将在 %d 秒后关机";
