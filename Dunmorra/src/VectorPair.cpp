#include "dunmorra/VectorPair.h"

#include <cstring>

void CVectorPairByte::SetByte(int iPos, unsigned char ucByte) {
    clear();
    AddByte(iPos, ucByte);
}

void CVectorPairByte::AddByte(int iPos, unsigned char ucByte) {
    push_back(CPairByte(iPos, ucByte));
}

void CVectorPairByte::SetWord(int iPos, unsigned short usWord) {
    SetByte(iPos, static_cast<unsigned char>(usWord >> 8));
    AddByte(iPos + 1, static_cast<unsigned char>(usWord & 0xFF));
}

void CVectorPairByte::SetString(int iPos, const char* pszText) {
    clear();
    if (pszText == nullptr) return;
    size_t length = strlen(pszText);
    for (size_t i = 0; i < length; ++i) AddByte(iPos + int(i), static_cast<unsigned char>(pszText[i]));
}

void CVectorPairWord::Add(int iIndex, unsigned char ucFirst, unsigned char ucSecond) {
    push_back(CPairWord(iIndex, static_cast<unsigned short>((ucSecond << 8) | ucFirst)));
}
