// Position-byte lists that a field map writes into an image, and the difference records of a
// comparison of two images.
#pragma once

#include <utility>
#include <vector>

#include "dunmorra/DunmorraApi.h"

// One byte of an image: (position, byte).
typedef std::pair<int, unsigned char> CPairByte;

// The pending bytes of one field, in the order they are written.
class DUNMORRA_API CVectorPairByte : public std::vector<CPairByte> {
public:
    // Clears the list and appends (iPos, ucByte).
    void SetByte(int iPos, unsigned char ucByte);
    void AddByte(int iPos, unsigned char ucByte);
    // A 16-bit field, high byte first: (iPos, high), (iPos + 1, low).
    void SetWord(int iPos, unsigned short usWord);
    // Clears the list and appends every character of the text, without a terminating zero.
    void SetString(int iPos, const char* pszText);
};

// One difference of two images: (index, second byte << 8 | first byte).
typedef std::pair<int, unsigned short> CPairWord;

class DUNMORRA_API CVectorPairWord : public std::vector<CPairWord> {
public:
    void Add(int iIndex, unsigned char ucFirst, unsigned char ucSecond);
};
