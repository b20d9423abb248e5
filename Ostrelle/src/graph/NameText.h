// The fixed name buffers of the graph core (filter and device names of 128 bytes, pin names of
// 256) and the FriendlyName compare. Every copy is bounded by its buffer and cut at a character
// boundary of the ANSI code page, so a long name never overruns and never ends in half a character.
#pragma once

#include <windows.h>

#include <cstddef>

// Bytes of a filter name, a device name and a registry record's names, with the terminator.
inline constexpr size_t kFilterNameSize = 128;
// Bytes of a pin name, with the terminator.
inline constexpr size_t kPinNameSize = 256;

// Copies `text` (NULL counts as empty) into `buffer` of `size` bytes, always terminated. TRUE when
// the whole text fitted; otherwise the buffer holds the longest run of whole characters that fits.
BOOL CopyNameText(char* buffer, size_t size, const char* text);

// Converts the wide `text` to the ANSI code page into `buffer` of `size` bytes by the same rules.
// A NULL text gives an empty buffer and TRUE.
BOOL WideToNameText(char* buffer, size_t size, const WCHAR* text);

// TRUE when a device's FriendlyName `found` is the device that `wanted` names: the first
// min(length of wanted, length of found) bytes are equal, the last of them included. So names that
// differ only in their last character are told apart, and a wanted name matches a longer
// FriendlyName that begins with it. An empty name on either side matches nothing.
BOOL FriendlyNameMatches(const char* wanted, const char* found);
